// The skinned progress bar: its blocks and its moving segment, its refused values and its skins.
#include "controls/xpprogressbar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/form.h"
#include "support/scratch.h"
#include "runtime/seams.h"

namespace {

using controls::Xp_ProgressBar;

class BarPad : public forms::Form {
 public:
  BarPad() : Form("BarPad"), Bar1(*this, "Bar1") {
    SetClientSize(4000, 1000);
    Bar1.Move(150, 150, forms::ToTwips(200), forms::ToTwips(17));
  }
  Xp_ProgressBar Bar1;
};

class XpBar : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::SetMessageBoxHandler([this](const rt::MessageBoxCall& c) {
      boxes.push_back(c.title + ": " + c.text);
      EXPECT_EQ(c.style & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
      return IDOK;
    });
    f.Show();
  }
  void TearDown() override { f.Unload(); }
  // Whether a block (or segment piece) covers x on the bar's middle row.
  bool Filled(int x) const { return f.Bar1.ImagePixel(x, 8) != RGB(255, 255, 255); }
  std::vector<int> BlockStarts() const {
    std::vector<int> starts;
    for (int x = 3; x < 197; ++x)
      if (Filled(x) && !Filled(x - 1)) starts.push_back(x);
    return starts;
  }
  BarPad f;
  std::vector<std::string> boxes;
};

TEST_F(XpBar, BlocksGrowWithTheValue) {
  EXPECT_TRUE(BlockStarts().empty());
  std::vector<int> firstAt;  // the Value at which each block appeared
  size_t seen = 0;
  for (int v = 1; v <= 100; ++v) {
    f.Bar1.SetValue(v);
    std::vector<int> starts = BlockStarts();
    while (seen < starts.size()) {
      EXPECT_EQ(starts[seen], 4 + 10 * static_cast<int>(seen)) << "value " << v;
      firstAt.push_back(v);
      ++seen;
    }
  }
  ASSERT_GE(firstAt.size(), 3u);
  EXPECT_EQ(firstAt[0], 3);  // the first block when Value reaches 3...
  for (size_t i = 1; i + 1 < firstAt.size(); ++i) EXPECT_EQ(firstAt[i], 3 + 5 * static_cast<int>(i));  // ...then every 5
  // The last block ends 3 pixels before the right edge.
  EXPECT_TRUE(Filled(196));
  EXPECT_NE(f.Bar1.ImagePixel(196, 8), f.Bar1.ImagePixel(197, 8));
  EXPECT_EQ(f.Bar1.ImagePixel(5, 8), f.Bar1.BlockColor());
}

TEST_F(XpBar, AFallingValueDrawsTheBarAnew) {
  for (int v = 1; v <= 60; ++v) f.Bar1.SetValue(v);
  size_t before = BlockStarts().size();
  int repaints = f.Bar1.Repaints();
  f.Bar1.SetValue(20);
  EXPECT_GT(f.Bar1.Repaints(), repaints);
  std::vector<int> starts = BlockStarts();
  EXPECT_LT(starts.size(), before);
  EXPECT_EQ(starts.size(), 4u);  // the blocks of 20 (40 pixels: x = 4, 14, 24, 34)
}

TEST_F(XpBar, RefusedValuesKeepThePropertyAndNothingElseRedraws) {
  f.Bar1.SetValue(50);
  int repaints = f.Bar1.Repaints();
  COLORREF at = f.Bar1.ImagePixel(5, 8);
  std::vector<std::string> notices;
  f.Bar1.PropertyChanged = [&](const std::string& key) { notices.push_back(key); };
  f.Bar1.SetValue(101);
  f.Bar1.SetValue(-1);
  f.Bar1.SetMin(200);
  f.Bar1.SetMin(-5);
  f.Bar1.SetMax(-1);
  EXPECT_EQ(boxes, (std::vector<std::string>{"Error: Value can NOT be higher than Maximum !",
                                             "Error: Value can NOT be smaller than minimum !",
                                             "Error: Minimum can NOT be biger than maximum !",
                                             "Error: Minimum can NOT be smaller then 0 !",
                                             "Error: Maximum can NOT be smaller than minimum !"}));
  EXPECT_EQ(f.Bar1.Value(), 50);
  EXPECT_EQ(f.Bar1.Min(), 0);
  EXPECT_EQ(f.Bar1.Max(), 100);
  EXPECT_TRUE(notices.empty());
  // Accepted writes of Min, Max, Style and ProgressLook change no pixel.
  f.Bar1.SetMin(10);
  f.Bar1.SetMax(90);
  f.Bar1.SetStyle(1);
  f.Bar1.SetStyle(0);
  f.Bar1.SetProgressLook(7);
  EXPECT_EQ(f.Bar1.Repaints(), repaints);
  EXPECT_EQ(f.Bar1.ImagePixel(5, 8), at);
  EXPECT_EQ(notices, (std::vector<std::string>{"Min", "Max", "Style", "Style", "ProgressLook"}));
}

TEST_F(XpBar, SkinsAndAnUnknownLook) {
  std::vector<COLORREF> colours;
  for (int look = 0; look < 8; ++look) {
    f.Bar1.SetProgressLook(look);
    colours.push_back(f.Bar1.BlockColor());
  }
  std::sort(colours.begin(), colours.end());
  EXPECT_EQ(std::unique(colours.begin(), colours.end()), colours.end());  // eight different skins
  f.Bar1.SetProgressLook(3);
  COLORREF gold = f.Bar1.BlockColor();
  f.Bar1.SetProgressLook(8);  // keeps the current tiles
  EXPECT_EQ(f.Bar1.BlockColor(), gold);
  EXPECT_EQ(f.Bar1.ProgressLook(), 8);
}

TEST_F(XpBar, TheMovingSegmentStepsFivePixelsAndStartsAgainAtTheLeft) {
  f.Bar1.SetStyle(1);
  f.Bar1.SetMax(1000);
  EXPECT_EQ(f.Bar1.SegmentPosition(), 4);
  f.Bar1.SetValue(1);
  EXPECT_EQ(f.Bar1.SegmentPosition(), 9);
  EXPECT_TRUE(Filled(5));   // the head piece at 4
  f.Bar1.SetValue(2);
  EXPECT_EQ(f.Bar1.SegmentPosition(), 14);
  EXPECT_FALSE(Filled(4));  // the tail erased
  EXPECT_TRUE(Filled(10));
  int steps = 2;
  while (f.Bar1.SegmentPosition() != 2 && steps < 100) f.Bar1.SetValue(++steps);
  EXPECT_EQ(f.Bar1.SegmentPosition(), 2);
  EXPECT_EQ(steps, 40);  // 4, 9, ... 194, 199: wrapped at the end
  f.Bar1.SetValue(steps + 1);
  EXPECT_EQ(f.Bar1.SegmentPosition(), 7);
  // Writing Max clears the bar.
  f.Bar1.SetValue(1000);
  EXPECT_TRUE(BlockStarts().empty());
  EXPECT_EQ(f.Bar1.SegmentPosition(), 4);
}

TEST_F(XpBar, RangesOfZeroOrBeyondSixteenBitsNeitherCrashNorHang) {
  f.Bar1.SetMax(50);
  f.Bar1.SetMin(50);
  f.Bar1.SetValue(50);  // a range of 0
  f.Bar1.SetMin(0);
  f.Bar1.SetMax(1000000);
  for (int v : {1, 40000, 500000, 999999, 1000000}) f.Bar1.SetValue(v);
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(Filled(196));
}

TEST_F(XpBar, SavedProperties) {
  controls::PropertyBag bag;
  bag.Write("min", 5);
  bag.Write("max", 60);
  bag.Write("value", 30);
  bag.Write("style", 1);
  bag.Write("progresslook", 2);
  int repaints = f.Bar1.Repaints();
  f.Bar1.ReadProperties(bag);
  EXPECT_EQ(f.Bar1.Repaints(), repaints);  // reading draws nothing
  controls::PropertyBag out;
  f.Bar1.WriteProperties(out);
  std::vector<std::string> keys;
  for (const auto& [k, v] : out.Items()) keys.push_back(k + "=" + std::to_string(std::get<int32_t>(v)));
  EXPECT_EQ(keys, (std::vector<std::string>{"Min=5", "Max=60", "Value=30", "Style=1", "ProgressLook=2"}));
  Xp_ProgressBar fresh(f, "Bar2");
  EXPECT_EQ(fresh.Max(), 100);
  fresh.ReadProperties(controls::PropertyBag{});
  EXPECT_EQ(fresh.Max(), 100);
  EXPECT_EQ(fresh.ProgressLook(), 0);
}

}  // namespace
