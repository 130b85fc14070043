// The main window of the Qt front end: the four controls of kMainWindow at
// their described places, and a click of "编码" that runs the click routine.
#pragma once

#include <QMargins>
#include <QWidget>
#include <functional>
#include <string>
#include <string_view>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QMoveEvent;
class QShowEvent;

namespace tosilk {

// Turns the edit box's text into the result label's text. The program uses
// RunClick; tests put a job with a program folder of their own behind it.
using ClickRoutine = std::function<std::string(std::string_view edit_text)>;

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  explicit MainWindow(ClickRoutine click);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void Encode();
  void FitToFrame();

  ClickRoutine click_;
  QLabel* result_label_ = nullptr;
  QLineEdit* path_edit_ = nullptr;
  // Whether the window has been sized yet, and for which frame.
  bool fitted_ = false;
  QMargins fitted_frame_;
};

}  // namespace tosilk
