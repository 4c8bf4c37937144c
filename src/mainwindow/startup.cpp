#include "mainwindow/startup.h"

#include "mainwindow/form1.h"

void Form3000::Form_Load() {
  Form1& main = MainForm();
  main.Load();
  main.Text1.SetText("1");
  main.Show();
  Unload();
}
