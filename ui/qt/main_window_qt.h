// The main window of the Qt front end: the four controls of kMainWindow at
// their described places, and a click of "编码" that runs the click routine.
#pragma once

#include <QWidget>

#include "ui/click_routine.h"

class QLabel;
class QLineEdit;
class QMoveEvent;
class QPushButton;
class QShowEvent;

namespace tosilk::qt {

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  // `click` turns the edit box's text into the result label's text.
  explicit MainWindow(ClickRoutine click);

 protected:
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void Encode();
  void FitToFrame();
  void FitOnceTheFrameIsKnown();

  ClickRoutine click_;
  QLabel* result_label_ = nullptr;
  QLabel* path_label_ = nullptr;
  QPushButton* encode_button_ = nullptr;
  QLineEdit* path_edit_ = nullptr;
  // Whether the window has been sized for the frame the platform reports.
  bool fitted_to_frame_ = false;
};

}  // namespace tosilk::qt
