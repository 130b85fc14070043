#include "ui/qt/main_window_qt.h"

#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <array>
#include <limits>
#include <utility>

#include "ui/window_description.h"

namespace tosilk {
namespace {

QString Text(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A title bar with a minimise and a close button and no maximise button; the
// fixed size set later keeps the frame from being dragged to another size.
constexpr Qt::WindowFlags kWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

QWidget* MakeControl(const ControlDescription& control, QWidget* parent) {
  switch (control.kind) {
    case ControlKind::kLabel: {
      auto* label = new QLabel(parent);
      // Plain text, so that a path holding "&" or "<" is shown as it is.
      label->setTextFormat(Qt::PlainText);
      label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      label->setWordWrap(false);
      label->setText(Text(control.text));
      return label;
    }
    case ControlKind::kEditBox: {
      auto* edit = new QLineEdit(Text(control.text), parent);
      // QLineEdit cuts input at 32767 characters unless told otherwise; a
      // path has no such limit here.
      edit->setMaxLength(std::numeric_limits<int>::max());
      edit->setFrame(true);
      return edit;
    }
    case ControlKind::kPushButton: {
      auto* button = new QPushButton(Text(control.text), parent);
      // Enter must never start a job: the button is not a default button.
      button->setAutoDefault(false);
      button->setDefault(false);
      return button;
    }
  }
  return nullptr;
}

}  // namespace

MainWindow::MainWindow(ClickRoutine click) : QWidget(nullptr, kWindowFlags), click_(std::move(click)) {
  setWindowTitle(Text(kMainWindow.title));
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/tosilk-48.png"));
  icon.addFile(QStringLiteral(":/icons/tosilk-256.png"));
  setWindowIcon(icon);

  std::array<QWidget*, kMainWindow.controls.size()> controls{};
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const ControlDescription& control = kMainWindow.controls[i];
    QWidget* widget = MakeControl(control, this);
    widget->setObjectName(Text(control.name));
    widget->setGeometry(control.left, control.top, control.width, control.height);
    widget->setFocusPolicy(control.tab_stop ? Qt::StrongFocus : Qt::NoFocus);
    // Qt stacks each new child above the ones before it; the description
    // wants the earlier control on top, so each new one goes to the bottom.
    widget->lower();
    controls[i] = widget;
  }
  result_label_ = findChild<QLabel*>(Text(kResultLabel));
  path_edit_ = findChild<QLineEdit*>(Text(kPathEdit));
  connect(findChild<QPushButton*>(Text(kEncodeButton)), &QPushButton::clicked, this,
          &MainWindow::Encode);

  const std::vector<int> order = FocusOrder(kMainWindow);
  for (std::size_t i = 1; i < order.size(); ++i) {
    setTabOrder(controls[order[i - 1]], controls[order[i]]);
  }
  if (!order.empty()) controls[order.front()]->setFocus();

  FitToFrame();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  // Esc closes the window only on its own: with Ctrl, Shift or Alt held it
  // is some other command, which this window does not have. The edit box and
  // the button leave Esc to their window, so this sees it wherever focus is.
  constexpr Qt::KeyboardModifiers kHeld =
      Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier;
  if (event->key() == Qt::Key_Escape && (event->modifiers() & kHeld) == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FitToFrame();
}

void MainWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  // On X11 the window manager adds its frame after the window is mapped and
  // says so by moving the window; that is when its size becomes known.
  FitToFrame();
}

// The description gives the size of the whole window, frame included, but Qt
// sizes the client area. So the client gets the described size less the
// frame, as far as the platform tells the frame (nothing without a window
// manager, or before it has framed the window), and the whole frame is
// centred on the primary screen. This runs again each time the frame turns
// out different from the one last sized for, and only then, so a window the
// user has moved stays where it was put.
void MainWindow::FitToFrame() {
  const QWindow* handle = windowHandle();
  const QMargins frame = handle != nullptr ? handle->frameMargins() : QMargins();
  if (fitted_ && frame == fitted_frame_) return;
  fitted_ = true;
  fitted_frame_ = frame;
  setFixedSize(kMainWindow.width - frame.left() - frame.right(),
               kMainWindow.height - frame.top() - frame.bottom());
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    // move() places the frame's top-left corner, not the client area's.
    move(area.left() + CentredEdge(area.width(), kMainWindow.width),
         area.top() + CentredEdge(area.height(), kMainWindow.height));
  }
}

void MainWindow::Encode() {
  const std::string typed = path_edit_->text().toStdString();
  // Each run replaces the whole text, so only the latest outcome is shown.
  result_label_->setText(QString::fromStdString(click_(typed)));
}

}  // namespace tosilk
