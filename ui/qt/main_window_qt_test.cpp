// The Qt window on the offscreen platform: its layout as the description
// gives it, its keys, and what a click of "编码" shows, with the stand-in
// tools in a program folder of the test's own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "common/fatal.h"
#include "testing/job_fixture.h"
#include "testing/processes.h"
#include "texts/texts.h"
#include "ui/qt/main_window_qt.h"
#include "ui/qt/start_up_qt.h"
#include "ui/window_description.h"

namespace tosilk {
namespace {

// One QApplication for the whole program, on the offscreen platform. That
// platform draws no frame but still reports one, 2 pixels wide on each side,
// which the window takes off its client area.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform says this for every window shown; it is no
    // fault, and would bury a real message.
    previous_handler_ = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
          if (message == QLatin1String("This plugin does not support propagateSizeHints()")) return;
          previous_handler_(type, context, message);
        });
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[8] = "qt_test";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
  static inline QtMessageHandler previous_handler_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const kQt =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

std::string Std(const QString& text) { return text.toStdString(); }

// A window whose click runs the job in `folder`, shown and active. What a
// click on its result label shows is noted in `shown_`.
class WindowTest : public ::testing::Test {
 protected:
  WindowTest()
      : folder_("qt 窗口"),
        window_([this](std::string_view source, JobSetting::Naming naming, const JobHooks& hooks) {
                  return folder_.Run(source, naming, hooks);
                },
                [this](const std::vector<std::string>& files) { shown_.push_back(files); }) {
    window_.show();
    window_.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
  }

  // The control the window made for `id`, found by its described name.
  template <typename T = QWidget>
  T* Find(ControlId id) {
    const std::string_view name = kMainWindow[id].name;
    T* widget = window_.findChild<T*>(QString::fromUtf8(name.data(), name.size()));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QLineEdit* Edit() { return Find<QLineEdit>(ControlId::kPathEdit); }
  QPushButton* Button() { return Find<QPushButton>(ControlId::kEncodeButton); }
  QLabel* Result() { return Find<QLabel>(ControlId::kResultLabel); }

  // Whether the label shows a job's outcome, and not its progress.
  bool Ended() {
    const std::string shown = Std(Result()->text());
    return shown.starts_with(texts::kDonePrefix) || shown.starts_with(texts::kFailedPrefix);
  }

  // Puts `path` into the edit box, clicks "编码" with the mouse, and waits
  // until the job has ended.
  std::string ClickWith(const std::string& path) {
    Edit()->setText(QString::fromStdString(path));
    QTest::mouseClick(Button(), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Ended() && Button()->isEnabled(); }, 20000));
    return Std(Result()->text());
  }

  ProgramFolder folder_;
  std::vector<std::vector<std::string>> shown_;
  qt::MainWindow window_;
};

TEST_F(WindowTest, IsTheDescribedSizeCentredFixedAndUntitled) {
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  ASSERT_EQ(screen, QRect(0, 0, 800, 800)) << "the offscreen platform's screen changed";
  // The whole window, frame included, has the described size and is centred;
  // the client area is what the frame leaves.
  EXPECT_EQ(window_.frameGeometry(),
            QRect(CentredEdge(800, kMainWindow.width), CentredEdge(800, kMainWindow.height),
                  kMainWindow.width, kMainWindow.height));
  const QMargins frame = window_.windowHandle()->frameMargins();
  EXPECT_FALSE(frame.isNull()) << "no frame to take off: the test shows less than it should";
  EXPECT_EQ(window_.geometry(), window_.frameGeometry().marginsRemoved(frame));
  EXPECT_EQ(window_.minimumSize(), window_.maximumSize());
  EXPECT_EQ(window_.windowTitle(), QString());
  const Qt::WindowFlags flags = window_.windowFlags();
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  const QList<QSize> icon_sizes = window_.windowIcon().availableSizes();
  EXPECT_TRUE(icon_sizes.contains(QSize(48, 48)));
  EXPECT_TRUE(icon_sizes.contains(QSize(256, 256)));
}

TEST_F(WindowTest, StacksEarlierControlsAboveLaterOnes) {
  // Qt keeps children bottom first.
  std::vector<std::string> bottom_up;
  for (const QObject* child : window_.children()) {
    if (child->isWidgetType()) bottom_up.push_back(Std(child->objectName()));
  }
  std::vector<std::string> described_top_down;
  for (const ControlDescription& control : kMainWindow.controls) {
    described_top_down.emplace_back(control.name);
  }
  EXPECT_EQ(bottom_up,
            std::vector<std::string>(described_top_down.rbegin(), described_top_down.rend()));
}

// What kind of widget each kind of control is made as.
const char* ClassFor(ControlKind kind) {
  switch (kind) {
    case ControlKind::kLabel:
      return "QLabel";
    case ControlKind::kEditBox:
      return "QLineEdit";
    case ControlKind::kPushButton:
      return "QPushButton";
  }
  return "";
}

TEST_F(WindowTest, EachControlStandsWhereDescribedWithItsTextAndTheDefaultFont) {
  for (std::size_t i = 0; i < kMainWindow.controls.size(); ++i) {
    const ControlDescription& described = kMainWindow.controls[i];
    SCOPED_TRACE(std::string(described.name));
    const QWidget* widget = Find(static_cast<ControlId>(i));
    ASSERT_NE(widget, nullptr);
    EXPECT_STREQ(widget->metaObject()->className(), ClassFor(described.kind));
    EXPECT_EQ(widget->geometry(),
              QRect(described.left, described.top, described.width, described.height));
    EXPECT_EQ(widget->font(), QApplication::font());
    EXPECT_TRUE(widget->isVisible());
    EXPECT_EQ(widget->focusPolicy(), described.tab_stop ? Qt::StrongFocus : Qt::NoFocus);
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(widget)) text = label->text();
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) text = edit->text();
    if (const auto* button = qobject_cast<const QPushButton*>(widget)) text = button->text();
    EXPECT_EQ(Std(text), described.text);
  }
}

TEST_F(WindowTest, LabelsShowOneLineLiterallyAtTheLeft) {
  for (ControlId id : {ControlId::kResultLabel, ControlId::kPathLabel}) {
    const QLabel* label = Find<QLabel>(id);
    const std::string_view name = kMainWindow[id].name;
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->textFormat(), Qt::PlainText) << name;
    EXPECT_EQ(label->alignment(), Qt::AlignLeft | Qt::AlignVCenter) << name;
    EXPECT_FALSE(label->wordWrap()) << name;
  }
}

TEST_F(WindowTest, TheEditBoxTakesPathsLongerThanQtsDefaultLimit) {
  const QString path = QStringLiteral("/音乐/") + QString(40000, QLatin1Char('a'));
  Edit()->setText(path);
  EXPECT_EQ(Edit()->text(), path);
  EXPECT_TRUE(Edit()->hasFrame());
}

TEST_F(WindowTest, StartsWithFocusInTheEmptyEditBox) {
  EXPECT_EQ(QApplication::focusWidget(), Edit());
  EXPECT_TRUE(Edit()->text().isEmpty());
}

struct FocusCase {
  const char* name;
  std::vector<Qt::Key> keys;
  ControlId focused;
};

class FocusTest : public WindowTest, public ::testing::WithParamInterface<FocusCase> {};

TEST_P(FocusTest, TabAndShiftTabGoRoundTheEditBoxAndTheButton) {
  for (const Qt::Key key : GetParam().keys) {
    // Shift+Tab reaches Qt as Backtab with Shift held.
    const Qt::KeyboardModifiers held = key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier;
    QTest::keyClick(QApplication::focusWidget(), key, held);
  }
  EXPECT_EQ(QApplication::focusWidget(), Find(GetParam().focused));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, FocusTest,
    ::testing::Values(FocusCase{"Tab", {Qt::Key_Tab}, ControlId::kEncodeButton},
                      FocusCase{"TabWraps", {Qt::Key_Tab, Qt::Key_Tab}, ControlId::kPathEdit},
                      FocusCase{"ShiftTabWraps", {Qt::Key_Backtab}, ControlId::kEncodeButton},
                      FocusCase{"ShiftTabTwice", {Qt::Key_Backtab, Qt::Key_Backtab}, ControlId::kPathEdit},
                      FocusCase{"TabThenShiftTab", {Qt::Key_Tab, Qt::Key_Backtab}, ControlId::kPathEdit}),
    [](const auto& info) { return std::string(info.param.name); });

struct KeyCase {
  const char* name;
  ControlId focused;
  Qt::Key key;
  Qt::KeyboardModifiers held;
  bool closes;
};

class KeyTest : public WindowTest, public ::testing::WithParamInterface<KeyCase> {};

// Each key goes to a window whose edit box holds a source the stand-ins
// would encode, so a job started by mistake would leave their words behind.
TEST_P(KeyTest, OnlyPlainEscClosesAndNoKeyStartsAJob) {
  const KeyCase& c = GetParam();
  Edit()->setText(QString::fromStdString(folder_.AddSource("a.mp3")));
  QWidget* target = Find(c.focused);
  target->setFocus();
  QTest::keyClick(target, c.key, c.held);
  EXPECT_EQ(window_.isVisible(), !c.closes);
  EXPECT_TRUE(folder_.WordsOf("ffmpeg").empty());
  EXPECT_EQ(Std(Result()->text()), "标签");
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyTest,
    ::testing::Values(
        KeyCase{"EscInTheEditBox", ControlId::kPathEdit, Qt::Key_Escape, Qt::NoModifier, true},
        KeyCase{"EscOnTheButton", ControlId::kEncodeButton, Qt::Key_Escape, Qt::NoModifier, true},
        KeyCase{"CtrlEsc", ControlId::kPathEdit, Qt::Key_Escape, Qt::ControlModifier, false},
        KeyCase{"ShiftEsc", ControlId::kEncodeButton, Qt::Key_Escape, Qt::ShiftModifier, false},
        KeyCase{"AltEsc", ControlId::kPathEdit, Qt::Key_Escape, Qt::AltModifier, false},
        KeyCase{"ReturnInTheEditBox", ControlId::kPathEdit, Qt::Key_Return, Qt::NoModifier, false},
        KeyCase{"EnterInTheEditBox", ControlId::kPathEdit, Qt::Key_Enter, Qt::KeypadModifier, false},
        KeyCase{"ReturnOnTheButton", ControlId::kEncodeButton, Qt::Key_Return, Qt::NoModifier, false},
        KeyCase{"EnterOnTheButton", ControlId::kEncodeButton, Qt::Key_Enter, Qt::KeypadModifier, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, ClickShowsWhereTheFileWentWithAmpersandsAsTyped) {
  const std::string source = folder_.AddSource("录音 R&B <i>.mp3");
  EXPECT_EQ(ClickWith(source), "编码完成，路径：" + folder_.Base("10041") + ".silk");
  EXPECT_EQ(folder_.WordsOf("ffmpeg"), ConverterWords(folder_, source, folder_.Base("10041")));
  // Plain text, so "&" is no mnemonic and "<b>" no markup.
  EXPECT_EQ(Result()->textFormat(), Qt::PlainText);
}

TEST_F(WindowTest, ClickShowsWhyTheJobFailed) {
  const std::string source = folder_.AddSource("a.mp3");
  folder_.Behave("ffmpeg", "exit=1\nstderr=a.mp3: Invalid data found when processing input\n");
  // The job's reasons are its own tests' business; the label shows the one
  // this job gave, with the tool's line in it.
  const std::string shown = ClickWith(source);
  EXPECT_TRUE(shown.starts_with(texts::kFailedPrefix)) << shown;
  EXPECT_NE(shown.find("a.mp3: Invalid data found when processing input"), std::string::npos)
      << shown;
  EXPECT_TRUE(folder_.ResultEntries().empty());
}

TEST_F(WindowTest, EachClickReplacesTheWholeMessage) {
  EXPECT_EQ(ClickWith("  "), "编码失败：没有输入音频文件的路径");
  const std::string source = folder_.AddSource("b.ogg");
  EXPECT_EQ(ClickWith(source), "编码完成，路径：" + folder_.Base("10041") + ".silk");
  EXPECT_EQ(ClickWith(folder_.Inside("gone.mp3")),
            "编码失败：找不到音频文件 " + folder_.Inside("gone.mp3"));
}

// Whether the stand-in ffmpeg that `folder`'s job started still runs.
bool StandinRunning(const ProgramFolder& folder) {
  return testing::ProcessRunning(testing::ReadAll(folder.path() / "ffmpeg.pid"));
}

// While a job runs the window answers, shows how far the job is, and takes
// no input that would start another: three clicks, Enter and Space give one
// job, and typing changes nothing.
TEST_F(WindowTest, WhileAJobRunsShowsItsProgressAndTakesNoFurtherJob) {
  const std::string source = folder_.AddSource("a.mp3");
  folder_.Behave("ffmpeg", "sleep=3000\n");
  Edit()->setText(QString::fromStdString(source));
  QTest::mouseClick(Button(), Qt::LeftButton);
  EXPECT_FALSE(Button()->isEnabled());
  EXPECT_TRUE(Edit()->isReadOnly());
  EXPECT_TRUE(Std(Result()->text()).starts_with("正在转换…")) << Std(Result()->text());
  EXPECT_TRUE(QTest::qWaitFor([&] { return Std(Result()->text()).ends_with("%"); }, 5000))
      << Std(Result()->text());

  for (int i = 0; i < 3; ++i) QTest::mouseClick(Button(), Qt::LeftButton);
  QTest::keyClick(Button(), Qt::Key_Space);
  QTest::keyClick(Edit(), Qt::Key_Return);
  QTest::keyClicks(Edit(), "garbled");
  EXPECT_EQ(Std(Edit()->text()), source);

  EXPECT_TRUE(QTest::qWaitFor([&] { return Ended() && Button()->isEnabled(); }, 20000));
  EXPECT_EQ(Std(Result()->text()), "编码完成，路径：" + folder_.Base("10041") + ".silk");
  EXPECT_FALSE(Edit()->isReadOnly());
  EXPECT_FALSE(Edit()->hasSelectedText()) << "the focus came to the edit box selecting all";
  QTest::qWait(300);
  EXPECT_EQ(folder_.ResultEntries(), std::vector<std::string>{std::string(kFixedStamp) + "10041.silk"});
}

// Closing during a job ends its tool and takes its files away, at once.
TEST_F(WindowTest, ClosingDuringAJobStopsItAndLeavesNothing) {
  const std::string source = folder_.AddSource("a.mp3");
  folder_.Behave("ffmpeg", "sleep=60000\n");
  Edit()->setText(QString::fromStdString(source));
  QTest::mouseClick(Button(), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return StandinRunning(folder_); }, 5000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !folder_.ResultEntries().empty(); }, 5000));

  QTest::keyClick(Edit(), Qt::Key_Escape);
  EXPECT_FALSE(window_.isVisible());
  EXPECT_TRUE(folder_.ResultEntries().empty());
  EXPECT_TRUE(QTest::qWaitFor([&] { return !StandinRunning(folder_); }, 2000));
}

TEST_F(WindowTest, TheLabelShowsItsWholeTextAndOpensTheFolderOnceAFileIsWritten) {
  const std::string source = folder_.AddSource("a.mp3");
  QTest::mouseClick(Result(), Qt::LeftButton);
  EXPECT_TRUE(shown_.empty()) << "nothing to show before a job";

  const std::string shown = ClickWith(source);
  const std::string silk = folder_.Base("10041") + ".silk";
  const QString tip = Result()->toolTip();
  EXPECT_TRUE(tip.contains(QString::fromStdString(shown).toHtmlEscaped())) << Std(tip);
  EXPECT_TRUE(tip.contains(QStringLiteral("单击打开所在文件夹"))) << Std(tip);
  EXPECT_EQ(Result()->cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseClick(Result(), Qt::LeftButton);
  EXPECT_EQ(shown_, (std::vector<std::vector<std::string>>{{silk}}));

  ClickWith("");
  EXPECT_EQ(Result()->cursor().shape(), Qt::ArrowCursor);
  QTest::mouseClick(Result(), Qt::LeftButton);
  EXPECT_EQ(shown_.size(), 1u) << "a failure has no folder to open";
}

TEST_F(WindowTest, TheLabelsMenuCopiesItsWholeText) {
  const std::string shown = ClickWith(folder_.Inside("gone.mp3"));
  QTimer::singleShot(200, [] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    for (QAction* action : menu->actions()) {
      if (action->text() == QStringLiteral("复制")) action->trigger();
    }
    menu->close();
  });
  emit Result()->customContextMenuRequested(QPoint(5, 5));
  EXPECT_EQ(Std(QGuiApplication::clipboard()->text()), shown);
}

// A file dropped on the window, or given when the program starts, has its
// path put into the edit box, never "file://" text.
TEST_F(WindowTest, TakesADroppedFileOrOneItWasStartedWith) {
  const std::string source = folder_.AddSource("拖进来 a.mp3");
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(source))});
  QDragEnterEvent enter(QPoint(60, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window_, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(60, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window_, &drop);
  EXPECT_EQ(Std(Edit()->text()), source);
  EXPECT_FALSE(Edit()->acceptDrops()) << "the edit box would take the drop as text";

  window_.TakeFiles({folder_.Inside("b.mp3")});
  EXPECT_EQ(Std(Edit()->text()), folder_.Inside("b.mp3"));
}

// Several files dropped at once are encoded at once, each named after
// itself, and the label counts them.
TEST_F(WindowTest, EncodesSeveralDroppedFilesAsABatch) {
  QMimeData data;
  QList<QUrl> urls;
  for (const char* name : {"一.mp3", "二.wav", "三.ogg"}) {
    urls << QUrl::fromLocalFile(QString::fromStdString(folder_.AddSource(name)));
  }
  data.setUrls(urls);
  QDragEnterEvent enter(QPoint(60, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window_, &enter);
  QDropEvent drop(QPointF(60, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window_, &drop);
  EXPECT_TRUE(Std(Result()->text()).starts_with("正在编码 ")) << Std(Result()->text());
  EXPECT_FALSE(Button()->isEnabled());
  ASSERT_TRUE(QTest::qWaitFor([&] { return Button()->isEnabled(); }, 20000));
  EXPECT_EQ(Std(Result()->text()), "编码完成 3 个文件，路径：" + testing::PathText(folder_.result()));
  EXPECT_EQ(folder_.ResultEntries(), (std::vector<std::string>{"一.silk", "三.silk", "二.silk"}));
  EXPECT_TRUE(Edit()->text().isEmpty()) << "a batch leaves the edit box alone";
}

// The handler shows its box and ends the process with 255 once the user has
// pressed OK. A timer plays the user, and says on standard error what it saw.
void PressOkOnTheBox(const QString& expected_text) {
  QTimer::singleShot(100, [expected_text] {
    const auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      std::fputs("no message box\n", stderr);
      std::_Exit(1);
    }
    if (box->icon() == QMessageBox::Critical && box->text() == expected_text &&
        box->standardButtons() == QMessageBox::Ok) {
      std::fputs("critical box with OK\n", stderr);
    }
    box->button(QMessageBox::Ok)->click();
  });
}

TEST(FatalHandler, ShowsACriticalBoxAndEndsWith255) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        SetFatalHandler(&ShowFatalInMessageBox);
        PressOkOnTheBox(QStringLiteral("加载主窗口失败"));
        FatalFailure("加载主窗口失败");
      },
      ::testing::ExitedWithCode(255), "critical box with OK");
}

}  // namespace
}  // namespace tosilk
