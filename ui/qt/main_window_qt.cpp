#include "ui/qt/main_window_qt.h"

#include <QGuiApplication>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QWindow>
#include <limits>
#include <utility>

#include "ui/window_description.h"

namespace tosilk::qt {
namespace {

QString Text(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A title bar with a minimise and a close button and no maximise button; the
// fixed size set later keeps the frame from being dragged to another size.
constexpr Qt::WindowFlags kWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

QLabel* MakeLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  // Plain text, so that a path holding "&" or "<" is shown as it is.
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label->setWordWrap(false);
  return label;
}

QLineEdit* MakeEditBox(QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  // QLineEdit cuts input at 32767 characters unless told otherwise; a path
  // has no such limit here.
  edit->setMaxLength(std::numeric_limits<int>::max());
  edit->setFrame(true);
  return edit;
}

QPushButton* MakeButton(QWidget* parent) {
  auto* button = new QPushButton(parent);
  // Enter must never start a job: the button is not a default button.
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

// Gives `widget` the described name, place, text and focus, and puts it
// below the controls made before it: Qt stacks each new child on top, and
// the description wants the earlier control above.
template <typename Widget>
Widget* Placed(Widget* widget, ControlId id) {
  const ControlDescription& described = kMainWindow[id];
  widget->setObjectName(Text(described.name));
  widget->setGeometry(described.left, described.top, described.width, described.height);
  widget->setText(Text(described.text));
  widget->setFocusPolicy(described.tab_stop ? Qt::StrongFocus : Qt::NoFocus);
  widget->lower();
  return widget;
}

}  // namespace

MainWindow::MainWindow(ClickRoutine click)
    : QWidget(nullptr, kWindowFlags), click_(std::move(click)) {
  setWindowTitle(Text(kMainWindow.title));
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/tosilk-48.png"));
  icon.addFile(QStringLiteral(":/icons/tosilk-256.png"));
  setWindowIcon(icon);

  // In the order of the description's list.
  result_label_ = Placed(MakeLabel(this), ControlId::kResultLabel);
  path_label_ = Placed(MakeLabel(this), ControlId::kPathLabel);
  encode_button_ = Placed(MakeButton(this), ControlId::kEncodeButton);
  path_edit_ = Placed(MakeEditBox(this), ControlId::kPathEdit);
  connect(encode_button_, &QPushButton::clicked, this, &MainWindow::Encode);
  path_edit_->setFocus();

  // Esc on its own closes the window wherever the focus is; with Ctrl,
  // Shift or Alt held it is another key sequence, which this window lacks.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, &QWidget::close);

  FitToFrame();
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FitOnceTheFrameIsKnown();
}

void MainWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  // On X11 the window manager adds its frame after the window is mapped and
  // says so by moving the window; that is when its size becomes known.
  FitOnceTheFrameIsKnown();
}

void MainWindow::FitOnceTheFrameIsKnown() {
  if (fitted_to_frame_) return;
  const QWindow* handle = windowHandle();
  if (handle == nullptr || handle->frameMargins().isNull()) return;
  fitted_to_frame_ = true;
  FitToFrame();
}

// The description gives the size of the whole window, frame included, but Qt
// sizes the client area. So the client gets the described size less the
// frame, as far as the platform tells the frame (nothing without a window
// manager, or before it has framed the window), and the whole frame is
// centred on the primary screen.
void MainWindow::FitToFrame() {
  const QWindow* handle = windowHandle();
  const QMargins frame = handle != nullptr ? handle->frameMargins() : QMargins();
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

}  // namespace tosilk::qt
