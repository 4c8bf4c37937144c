// Under a real X display: every look of the push button in each of its states, and the skinned
// progress bar, in pictures for a person to look at.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "controls/chameleonbutton.h"
#include "controls/xpprogressbar.h"
#include "forms/forms.h"
#include "runtime/pump.h"
#include "support/screenshot.h"

namespace {

using controls::ButtonStage;
using controls::ButtonTypeKind;
using controls::chameleonButton;

const char* const kLooks[] = {"Framed",        "Standard", "ThemedGradient", "RoundedLight", "SoftOutline",
                              "LightBevel",    "Flat",     "FlatHover",      "HighlightHover", "FaceOnly",
                              "Transparent",   "BevelHover", "Oval",         "Gradient"};
const char* const kStates[] = {"Normal", "Hovered", "Pressed", "Focused", "Disabled"};
constexpr int kRows = 14, kColumns = 5;

// A small picture: a green disc with a white (masked) background.
HBITMAP Disc() {
  return controls::DrawPicture(16, 16, [](int x, int y) {
    double d = std::hypot(x - 7.5, y - 7.5);
    return d > 7 ? RGB(255, 255, 255) : d > 6 ? RGB(20, 90, 40) : RGB(40, 150, 70);
  });
}

class Showroom : public forms::Form {
 public:
  Showroom() : Form("Showroom") {
    SetCaption("chameleonButton looks");
    SetClientSize(forms::ToTwips(130 + kColumns * 122), forms::ToTwips(30 + kRows * 34));
    for (int c = 0; c < kColumns; ++c) {
      auto& l = labels.emplace_back(std::make_unique<forms::Label>(*this, std::string("Head") + kStates[c], kStates[c]));
      l->SetAlignment(forms::Label::kCenter);
      l->Move(forms::ToTwips(130 + c * 122), forms::ToTwips(8), forms::ToTwips(112), forms::ToTwips(18));
    }
    picture = Disc();
    for (int r = 0; r < kRows; ++r) {
      auto& l = labels.emplace_back(std::make_unique<forms::Label>(*this, std::string("Row") + kLooks[r], kLooks[r]));
      l->Move(forms::ToTwips(10), forms::ToTwips(36 + r * 34), forms::ToTwips(115), forms::ToTwips(18));
      for (int c = 0; c < kColumns; ++c) {
        auto& b = buttons[r][c];
        b = std::make_unique<chameleonButton>(*this, "B" + std::to_string(r) + "_" + std::to_string(c), "&Erase Now");
        controls::ButtonSettings s = controls::MainWindowButtonSettings();
        s.type = static_cast<ButtonTypeKind>(r + 1);
        s.picturePosition = controls::PicturePositionKind::PictureLeft;
        b->Apply(s);
        b->SetPictureNormal({picture, nullptr});
        b->Move(forms::ToTwips(130 + c * 122), forms::ToTwips(30 + r * 34), forms::ToTwips(112), forms::ToTwips(28));
      }
    }
  }
  ~Showroom() override { DeleteObject(picture); }
  std::vector<std::unique_ptr<forms::Label>> labels;
  std::array<std::array<std::unique_ptr<chameleonButton>, kColumns>, kRows> buttons;
  HBITMAP picture = nullptr;
};

void Pump(int ms) {
  for (int i = 0; i < ms / 10; ++i) {
    rt::DoEvents();
    Sleep(10);
  }
}

// Hovers a button and then stops the system's watch for the pointer's leave, so the button keeps its
// hovered look while the pointer goes on to the next one.
void HoverAndStay(chameleonButton& b) {
  POINT p{20, 10};
  ClientToScreen(b.hWnd(), &p);
  SetCursorPos(p.x, p.y);
  SendMessageA(b.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
  TRACKMOUSEEVENT t{sizeof t, TME_LEAVE | TME_CANCEL, b.hWnd(), 0};
  TrackMouseEvent(&t);
}

TEST(Display, EveryLookInEveryState) {
  ASSERT_TRUE(GetEnvironmentVariableA("DISPLAY", nullptr, 0) > 0) << "runs under the X11 prefix";
  Showroom f;
  f.CenterOnScreen();
  f.Show();
  Pump(300);
  for (int r = 0; r < kRows; ++r) {
    f.buttons[r][4]->SetEnabled(false);
    SendMessageA(f.buttons[r][3]->hWnd(), WM_SETFOCUS, 0, 0);  // each shows its focus mark
  }
  Pump(200);
  // Hovered, and pressed by Space under the pointer (a mouse press would hold the mouse for one
  // button only).
  for (int r = 0; r < kRows; ++r) {
    HoverAndStay(*f.buttons[r][1]);
    HoverAndStay(*f.buttons[r][2]);
    SendMessageA(f.buttons[r][2]->hWnd(), WM_KEYDOWN, VK_SPACE, 0);
  }
  Pump(300);
  for (int r = 0; r < kRows; ++r) {
    EXPECT_TRUE(f.buttons[r][1]->IsHovered()) << kLooks[r];
    EXPECT_EQ(f.buttons[r][2]->LastStage(), ButtonStage::Pressed) << kLooks[r];
  }
  EXPECT_TRUE(ts::SaveScreenshot(f.hWnd(), ts::ShotPath("chameleon-button-looks.bmp")));
  f.Unload();
}

// The eight skins, each as a row of blocks at 60 % and as a moving segment.
class BarRoom : public forms::Form {
 public:
  BarRoom() : Form("BarRoom") {
    SetCaption("Xp_ProgressBar skins");
    SetClientSize(forms::ToTwips(540), forms::ToTwips(30 + 8 * 28));
    const char* names[] = {"master", "blue", "bluemet", "goldmet", "grmet", "greymet", "orangemet", "redmet"};
    for (int i = 0; i < 8; ++i) {
      auto& l = labels.emplace_back(std::make_unique<forms::Label>(*this, std::string("L") + names[i], names[i]));
      l->Move(forms::ToTwips(10), forms::ToTwips(14 + i * 28), forms::ToTwips(80), forms::ToTwips(18));
      for (int style = 0; style < 2; ++style) {
        auto& b = bars.emplace_back(std::make_unique<controls::Xp_ProgressBar>(*this, "Bar" + std::to_string(bars.size())));
        b->Move(forms::ToTwips(90 + style * 225), forms::ToTwips(12 + i * 28), forms::ToTwips(215), forms::ToTwips(17));
        b->SetProgressLook(i);
        b->SetStyle(style);
      }
    }
  }
  std::vector<std::unique_ptr<forms::Label>> labels;
  std::vector<std::unique_ptr<controls::Xp_ProgressBar>> bars;
};

TEST(Display, EveryProgressBarSkin) {
  BarRoom f;
  f.CenterOnScreen();
  f.Show();
  Pump(200);
  for (size_t i = 0; i < f.bars.size(); ++i) {
    controls::Xp_ProgressBar& b = *f.bars[i];
    int steps = i % 2 ? 21 + static_cast<int>(i) : 60;
    for (int v = 1; v <= steps; ++v) b.SetValue(v);
  }
  Pump(300);
  EXPECT_TRUE(ts::SaveScreenshot(f.hWnd(), ts::ShotPath("xp-progressbar-skins.bmp")));
  f.Unload();
}

}  // namespace
