#include "ui/qt/main_window_qt.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QToolTip>
#include <QUrl>
#include <QWindow>
#include <limits>
#include <utility>

#include "texts/texts.h"
#include "ui/dropped_files.h"
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

// The local files among dropped URLs.
std::vector<std::string> LocalFiles(const QMimeData* data) {
  std::vector<std::string> files;
  if (data == nullptr) return files;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) files.push_back(url.toLocalFile().toStdString());
  }
  return files;
}

}  // namespace

MainWindow::MainWindow(BackgroundJobs::Job job, ShowFiles show_files)
    : QWidget(nullptr, kWindowFlags),
      show_files_(std::move(show_files)),
      jobs_(
          std::move(job), [this](std::function<void()> event) { Post(std::move(event)); },
          [this] { OnJobsChanged(); }) {
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

  // A file dropped anywhere, the edit box included, comes to the window,
  // rather than into the box as "file://" text.
  setAcceptDrops(true);
  path_edit_->setAcceptDrops(false);
  // The result label answers the pointer: its whole text as a tooltip, a
  // click to open the folder, a menu to copy the text.
  result_label_->installEventFilter(this);
  result_label_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(result_label_, &QLabel::customContextMenuRequested, this, &MainWindow::ShowLabelMenu);

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

void MainWindow::closeEvent(QCloseEvent* event) {
  // Never refused, and never longer than about a second: a running job is
  // stopped, its tool ended and its files removed, before the window goes.
  jobs_.Stop(BackgroundJobs::kStopLimit);
  event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!jobs_.busy() && !LocalFiles(event->mimeData()).empty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const std::vector<std::string> files = LocalFiles(event->mimeData());
  if (files.empty()) return;
  event->acceptProposedAction();
  TakeFiles(files);
}

void MainWindow::TakeFiles(const std::vector<std::string>& files) {
  // While a job runs the edit box is the job's; a drop then does nothing.
  if (jobs_.busy()) return;
  const DroppedFiles dropped = SortDroppedFiles(files);
  if (dropped.into_edit_box) {
    path_edit_->setText(QString::fromStdString(*dropped.into_edit_box));
  } else if (dropped.nothing_found) {
    result_label_->setText(Text(texts::kNothingToEncode));
  } else if (!dropped.batch.empty()) {
    jobs_.Start(dropped.batch, JobSetting::Naming::kSource);
  }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == result_label_ && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && !jobs_.busy() &&
      !jobs_.presenter().written().empty()) {
    show_files_(jobs_.presenter().written());
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::ShowLabelMenu(const QPoint& at) {
  QMenu menu(this);
  connect(menu.addAction(Text(texts::kCopy)), &QAction::triggered, this, [this] {
    const std::string text = jobs_.presenter().label().empty()
                                 ? std::string(kMainWindow[ControlId::kResultLabel].text)
                                 : jobs_.presenter().tooltip();
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
  });
  menu.exec(result_label_->mapToGlobal(at));
}

void MainWindow::Encode() {
  // A disabled button sends no click; this guards against one that was on
  // its way when the job started.
  if (jobs_.busy()) return;
  jobs_.Start({Source{path_edit_->text().toStdString()}}, JobSetting::Naming::kStamp);
}

void MainWindow::Post(std::function<void()> event) {
  QMetaObject::invokeMethod(this, std::move(event), Qt::QueuedConnection);
}

void MainWindow::OnJobsChanged() {
  const bool busy = jobs_.busy();
  // Clicks, Enter and Space on a disabled button start nothing, and typing
  // into a read-only box changes nothing, so no input made during a job is
  // replayed as a job afterwards.
  // A disabled button hands the focus on as Tab would, and the edit box
  // would then select its whole text; it takes the focus plainly instead.
  if (busy && encode_button_->hasFocus()) path_edit_->setFocus(Qt::OtherFocusReason);
  encode_button_->setEnabled(!busy);
  path_edit_->setReadOnly(busy);

  result_label_->setText(QString::fromStdString(jobs_.presenter().label()));
  // Rich text, so that Qt wraps a long tooltip; escaped, so that nothing in
  // a path reads as markup.
  const QString tip = QString::fromStdString(jobs_.presenter().tooltip()).toHtmlEscaped();
  const QString rich = QStringLiteral("<p style='white-space:pre-wrap'>%1</p>").arg(tip);
  // A tooltip on show keeps its text; it goes, and the next shows the new.
  if (result_label_->toolTip() != rich && QToolTip::isVisible()) QToolTip::hideText();
  result_label_->setToolTip(rich);
  const bool openable = !jobs_.busy() && !jobs_.presenter().written().empty();
  result_label_->setCursor(openable ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void ShowFilesInFileManager(const std::vector<std::string>& files) {
  if (files.empty()) return;
  QStringList uris;
  for (const std::string& file : files) {
    uris << QUrl::fromLocalFile(QString::fromStdString(file)).toString();
  }
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
      QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
  call << uris << QString();
  const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 3000);
  if (reply.type() == QDBusMessage::ReplyMessage) return;
  // No file manager that selects files: the folder itself, in whatever
  // opens folders.
  const QString folder = QFileInfo(QString::fromStdString(files.front())).absolutePath();
  QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

}  // namespace tosilk::qt
