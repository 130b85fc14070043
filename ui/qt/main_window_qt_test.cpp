// The Qt window on the offscreen platform: its layout as the description
// gives it, its keys, and what a click of "编码" shows, with the stand-in
// tools in a program folder of the test's own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "common/fatal.h"
#include "testing/job_fixture.h"
#include "ui/click_routine.h"
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

// A window whose click runs the job in `folder`, shown and active.
class WindowTest : public ::testing::Test {
 protected:
  WindowTest()
      : folder_("qt 窗口"),
        window_([this](std::string_view typed) { return ResultMessage(folder_.Run(typed)); }) {
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

  // Puts `path` into the edit box and clicks "编码" with the mouse.
  std::string ClickWith(const std::string& path) {
    Edit()->setText(QString::fromStdString(path));
    QTest::mouseClick(Button(), Qt::LeftButton);
    return Std(Result()->text());
  }

  ProgramFolder folder_;
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
  EXPECT_TRUE(shown.starts_with(kFailedPrefix)) << shown;
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
