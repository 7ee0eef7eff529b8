// The settings dialog end to end on the Qt backend: real widgets driven by keys and the
// mouse, files written to temporary folders, modal windows handled while they run.
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRawFont>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <climits>
#include <memory>

#include <sys/stat.h>

#include "dialog/ConfigDlg.h"
#include "dialog/resource.h"
#include "platform/Shell.h"
#include "platform/qt/QtApplication.h"
#include "platform/qt/QtControls.h"
#include "platform/qt/QtDialogWindow.h"
#include "platform/qt/QtFolderChooser.h"
#include "record/FolderFlush.h"
#include "tests/dialog/ThrowingDlg.h"
#include "tests/qt/QtTestSupport.h"

using tavrel::CConfigDlg;
using tavrel::test::ThrowingDlg;
using tavrel::test::WhenShown;
using tavrel::ui::CDialog;
using tavrel::ui::CWinApp;
using tavrel::ui::qt::AddressEdit;
using tavrel::ui::qt::DialogWindow;
using tavrel::ui::qt::LineEdit;
using tavrel::ui::qt::PlainEdit;

namespace {

constexpr int kLeftOpen = 1234;  // end code when a script leaves the dialog open
constexpr int kAddressIds[] = {IDC_IP_ADDRESS, IDC_SUBNET_MASK, IDC_GATEWAY, IDC_OTHER_DNS,
                               IDC_PREFERRED_DNS};

const QString kDataDir = QStringLiteral(TAVREL_TEST_DATA_DIR);

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Fixture(const char* name) {
    return ReadAll(kDataDir + QLatin1Char('/') + name);
}

template <class T>
T* Ctl(DialogWindow& w, int id) {
    return qobject_cast<T*>(w.Control(id));
}

QWidget* Focused() {
    return QApplication::focusWidget();
}

// Types text into whatever has the focus, one character at a time, as the focus moves:
// ASCII as key presses, everything else as input-method commits.
void Type(const QString& text) {
    for (const QChar c : text) {
        QWidget* target = Focused();
        if (target == nullptr) {
            QTest::qFail("nothing has the focus to type into", __FILE__, __LINE__);
            return;
        }
        if (c.unicode() < 0x80) {
            QTest::keyClick(target, c.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(target, &commit);
        }
    }
}

void Press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(Focused(), static_cast<Qt::Key>(key), mods);
}

void Paste(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    Press(Qt::Key_V, Qt::ControlModifier);
}

void ClickRadio(QRadioButton* radio) {
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(8, radio->height() / 2));
}

// Clicks into an edit and, unless it is a field of an address entry, puts the cursor
// at the end of its text.
void ClickInto(QWidget* edit) {
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(4, edit->height() / 2));
    if (qobject_cast<QPlainTextEdit*>(edit)) {
        Press(Qt::Key_End, Qt::ControlModifier);
    } else if (!qobject_cast<AddressEdit*>(edit->parentWidget())) {
        Press(Qt::Key_End);
    }
}

// What a key opens: the window's context menu (with the About entry), the focused
// control's own, or nothing.
enum class MenuShown { Window, Control, None };

struct MessageSeen {
    QString text, caption, button;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool ownedByDialog = false;
};

}  // namespace

class DialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void initialState();
    void loadsStoredFileInFixedMode();
    void loadsForeignFileAndSavesItBack();
    void lineBreaksStayAsLoadedUntilEdited();
    void radioButtonsRuleTheAddressFields();
    void confirmWritesTheSameBytesAsTheFixture();
    void cancellingTheFolderChooserWritesNothing();
    void failedWriteIsReportedAndKeepsTheStoredCopy();
    void replacedFileOnAFailingMediumIsReportedAsReplaced();
    void storedCopyIsTheUsersAlone();
    void storedCopyThatIsNoFileLoadsAsAFirstStart();
    void editLimitsRefuseTypingAndPasting();
    void ringCountTakesDigitsOnly();
    void inputRuleKeepsWholeCharactersWithinBothLimits_data();
    void inputRuleKeepsWholeCharactersWithinBothLimits();
    void readsIntegersLikeWindows_data();
    void readsIntegersLikeWindows();
    void addressEntryKeyboard();
    void tabOrderFollowsTheTemplate();
    void enterPressesConfirmExceptWhereTheControlTakesIt();
    void endingTheDialog_data();
    void endingTheDialog();
    void aboutBoxFromTheContextMenu();
    void contextMenuFromTheKeyboard_data();
    void contextMenuFromTheKeyboard();
    void systemCommands();
    void exceptionFromAHandlerEndsTheDialog_data();
    void exceptionFromAHandlerEndsTheDialog();
    void applicationIconEverywhere();
    void folderChooserDialog_data();
    void folderChooserDialog();
    void storedCopyFolderFollowsXdgConfigHome();
    void theChooserIsModalAndKeepsNoState();
    void layoutKeepsEveryLabelReadable();
    void accessibleRolesNamesAndValues_data();
    void accessibleRolesNamesAndValues();
    void accessibleCheckedStateAndAddressFields();

private:
    // Runs a settings dialog as the application's main window; `script` runs inside
    // its modal loop. Returns the dialog's end code (kLeftOpen when the script left it
    // open).
    int RunSettings(const std::function<void(DialogWindow&, CConfigDlg&)>& script);
    void StoreFixture(const char* name);
    QString StoredPath() const {
        return config_->path() + QStringLiteral("/tavrel/device_config.dat");
    }
    // Presses confirm and returns the message box it showed (none: empty caption).
    MessageSeen ConfirmAndReadMessage(DialogWindow& w);

    std::unique_ptr<QTemporaryDir> config_;
    std::unique_ptr<CWinApp> app_;
    std::optional<QString> chosen_;  // what the folder chooser returns
    int chooserCalls_ = 0;
    QString chooserTitle_;
};

void DialogTest::initTestCase() {
    tavrel::ui::qt::PrepareApplication(*qApp, IDI_APP);
}

void DialogTest::init() {
    config_ = std::make_unique<QTemporaryDir>();
    QVERIFY(config_->isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_->path()));
    app_ = std::make_unique<CWinApp>();
    chosen_.reset();
    chooserCalls_ = 0;
    tavrel::ui::qt::SetFolderChooser([this](const QString& title, const QString& initial) {
        ++chooserCalls_;
        chooserTitle_ = title;
        if (!initial.isEmpty()) {
            QTest::qFail("the confirm step passes no initial folder", __FILE__, __LINE__);
        }
        return chosen_;
    });
}

void DialogTest::cleanup() {
    tavrel::ui::qt::SetFolderChooser({});
    app_.reset();
    config_.reset();
}

int DialogTest::RunSettings(const std::function<void(DialogWindow&, CConfigDlg&)>& script) {
    CConfigDlg dlg;
    app_->m_pMainWnd = &dlg;
    WhenShown<DialogWindow> run(
        [&](DialogWindow* w) {
            [&] {
                QVERIFY(QTest::qWaitForWindowActive(w));
                script(*w, dlg);
            }();
            if (!w->Ended()) {
                w->EndWith(kLeftOpen);
            }
        },
        "settings dialog");
    const int result = dlg.DoModal();
    app_->m_pMainWnd = nullptr;
    return result;
}

void DialogTest::StoreFixture(const char* name) {
    QVERIFY(QDir(config_->path()).mkpath(QStringLiteral("tavrel")));
    QVERIFY(QFile::copy(kDataDir + QLatin1Char('/') + name, StoredPath()));
}

MessageSeen DialogTest::ConfirmAndReadMessage(DialogWindow& w) {
    MessageSeen seen;
    WhenShown<QMessageBox> box(
        [&](QMessageBox* b) {
            seen.text = b->text();
            seen.caption = b->windowTitle();
            seen.icon = b->icon();
            seen.button =
                b->button(QMessageBox::Ok) ? b->button(QMessageBox::Ok)->text() : QString();
            seen.ownedByDialog = b->parentWidget() == &w;
            QTest::mouseClick(b->button(QMessageBox::Ok), Qt::LeftButton);
        },
        "message box");
    QTest::mouseClick(w.Control(IDOK), Qt::LeftButton);
    QCoreApplication::processEvents();
    return seen;
}

// --- the form

void DialogTest::initialState() {
    const int result = RunSettings([](DialogWindow& w, CConfigDlg& dlg) {
        QCOMPARE(w.windowTitle(), QStringLiteral("Tavrel(Build 20220103)"));
        QVERIFY(dlg.IsDlgButtonChecked(IDC_AUTO_IP));
        QVERIFY(!dlg.IsDlgButtonChecked(IDC_FIXED_IP));
        for (int id : kAddressIds) {
            QVERIFY2(w.Control(id)->isEnabled(), "no stored file: the fields start enabled");
        }
        QCOMPARE(Ctl<AddressEdit>(w, IDC_SUBNET_MASK)->Text(), QStringLiteral("255.255.255.0"));
        QCOMPARE(dlg.GetDlgItemAddress(IDC_SUBNET_MASK), 0xFFFFFF00u);
        for (int id : {IDC_IP_ADDRESS, IDC_GATEWAY, IDC_OTHER_DNS, IDC_PREFERRED_DNS}) {
            QCOMPARE(Ctl<AddressEdit>(w, id)->Text(), QStringLiteral("..."));
            QCOMPARE(dlg.GetDlgItemAddress(id), 0u);
        }
        auto* guard = Ctl<QComboBox>(w, IDC_LINE_GUARD);
        QCOMPARE(guard->count(), 2);
        QCOMPARE(guard->itemText(0), QStringLiteral("關閉"));
        QCOMPARE(guard->itemText(1), QStringLiteral("開啟"));
        QCOMPARE(guard->currentText(), QStringLiteral("關閉"));
        QVERIFY(Ctl<PlainEdit>(w, IDC_PUSH_ADDRESS)->toPlainText().isEmpty());
        QVERIFY(Ctl<LineEdit>(w, IDC_RING_LIMIT)->text().isEmpty());
        QVERIFY(Ctl<LineEdit>(w, IDC_CIPKEY)->text().isEmpty());
        QCOMPARE(Focused(), w.Control(IDOK));
        QVERIFY(Ctl<QPushButton>(w, IDOK)->isDefault());

        ClickRadio(Ctl<QRadioButton>(w, IDC_AUTO_IP));
        QVERIFY(dlg.IsDlgButtonChecked(IDC_AUTO_IP));
        for (int id : kAddressIds) {
            QVERIFY(!w.Control(id)->isEnabled());
        }
    });
    QCOMPARE(result, kLeftOpen);
    QVERIFY(!QFile::exists(StoredPath()));
}

void DialogTest::loadsStoredFileInFixedMode() {
    StoreFixture("full-form.dat");
    RunSettings([](DialogWindow& w, CConfigDlg& dlg) {
        QVERIFY(dlg.IsDlgButtonChecked(IDC_FIXED_IP));
        QVERIFY(!dlg.IsDlgButtonChecked(IDC_AUTO_IP));
        const std::pair<int, const char*> shown[] = {
            {IDC_IP_ADDRESS, "192.168.0.20"},
            {IDC_SUBNET_MASK, "255.255.255.0"},
            {IDC_GATEWAY, "192.168.0.1"},  // from offset 196
            {IDC_OTHER_DNS, "8.8.4.4"},
            {IDC_PREFERRED_DNS, "8.8.8.8"}};
        for (const auto& [id, text] : shown) {
            QVERIFY(w.Control(id)->isEnabled());
            QCOMPARE(Ctl<AddressEdit>(w, id)->Text(), QString::fromLatin1(text));
        }
        auto* push = Ctl<PlainEdit>(w, IDC_PUSH_ADDRESS);
        QCOMPARE(push->document()->blockCount(), 2);
        QCOMPARE(push->toPlainText(), QStringLiteral("http://push.example.com/call\n中文推送"));
        QCOMPARE(dlg.GetDlgItemText(IDC_PUSH_ADDRESS), u"http://push.example.com/call\r\n中文推送");
        QCOMPARE(Ctl<QComboBox>(w, IDC_LINE_GUARD)->currentText(), QStringLiteral("開啟"));
        QCOMPARE(Ctl<LineEdit>(w, IDC_RING_LIMIT)->text(), QStringLiteral("3"));
        QCOMPARE(Ctl<LineEdit>(w, IDC_CIPKEY)->text(), QStringLiteral("密鑰Key123"));
    });
}

void DialogTest::loadsForeignFileAndSavesItBack() {
    StoreFixture("foreign.dat");
    QTemporaryDir target;
    chosen_ = target.path();
    RunSettings([&](DialogWindow& w, CConfigDlg& dlg) {
        QVERIFY2(dlg.IsDlgButtonChecked(IDC_AUTO_IP), "mode 2 reads as automatic");
        QVERIFY(!dlg.IsDlgButtonChecked(IDC_FIXED_IP));
        const std::pair<int, const char*> shown[] = {{IDC_IP_ADDRESS, "10.0.0.1"},
                                                     {IDC_SUBNET_MASK, "255.255.255.255"},
                                                     {IDC_GATEWAY, "255.255.255.255"},
                                                     {IDC_OTHER_DNS, "255.255.255.255"},
                                                     {IDC_PREFERRED_DNS, "8.8.8.8"}};
        for (const auto& [id, text] : shown) {
            QVERIFY2(!w.Control(id)->isEnabled(), "automatic: the fields are disabled");
            QCOMPARE(Ctl<AddressEdit>(w, id)->Text(), QString::fromLatin1(text));
        }
        auto* guard = Ctl<QComboBox>(w, IDC_LINE_GUARD);
        QCOMPARE(guard->currentIndex(), -1);  // stored 5: nothing selected
        QCOMPARE(guard->currentText(), QString());
        QCOMPARE(Ctl<LineEdit>(w, IDC_RING_LIMIT)->text(), QStringLiteral("-5"));
        QCOMPARE(Ctl<LineEdit>(w, IDC_CIPKEY)->text(), QStringLiteral("abc"));

        const MessageSeen message = ConfirmAndReadMessage(w);
        QCOMPARE(message.icon, QMessageBox::Information);
    });
    QCOMPARE(ReadAll(target.path() + QStringLiteral("/device_config.dat")),
             Fixture("foreign-saved.dat"));
    QCOMPARE(ReadAll(StoredPath()), Fixture("foreign-saved.dat"));
}

void DialogTest::lineBreaksStayAsLoadedUntilEdited() {
    StoreFixture("line-breaks.dat");
    QTemporaryDir target;
    chosen_ = target.path();
    RunSettings([&](DialogWindow& w, CConfigDlg& dlg) {
        auto* push = Ctl<PlainEdit>(w, IDC_PUSH_ADDRESS);
        QCOMPARE(push->document()->blockCount(), 3);  // a lone LF and a lone CR both break
        QCOMPARE(dlg.GetDlgItemText(IDC_PUSH_ADDRESS), u"a\nb\rc");
        QCOMPARE(ConfirmAndReadMessage(w).icon, QMessageBox::Information);
        QCOMPARE(ReadAll(target.path() + QStringLiteral("/device_config.dat")),
                 Fixture("line-breaks.dat"));

        // Edited, the text holds every line break as CR LF, the typed one too.
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        ClickInto(push);
        Press(Qt::Key_Return);
        Type(QStringLiteral("d"));
        QCOMPARE(dlg.GetDlgItemText(IDC_PUSH_ADDRESS), u"a\r\nb\r\nc\r\nd");
        dlg.SetDlgItemText(IDC_PUSH_ADDRESS, u"x\ry");
        QCOMPARE(dlg.GetDlgItemText(IDC_PUSH_ADDRESS), u"x\ry");
    });
    QCOMPARE(ReadAll(StoredPath()), Fixture("line-breaks.dat"));
}

void DialogTest::radioButtonsRuleTheAddressFields() {
    RunSettings([](DialogWindow& w, CConfigDlg& dlg) {
        auto* automatic = Ctl<QRadioButton>(w, IDC_AUTO_IP);
        auto* fixed = Ctl<QRadioButton>(w, IDC_FIXED_IP);
        ClickRadio(fixed);
        QVERIFY(fixed->isChecked());
        QVERIFY(!automatic->isChecked());
        for (int id : kAddressIds) {
            QVERIFY(w.Control(id)->isEnabled());
        }
        ClickInto(Ctl<AddressEdit>(w, IDC_IP_ADDRESS)->Field(0));
        Type(QStringLiteral("10.1.2.3"));

        ClickRadio(automatic);
        QVERIFY(automatic->isChecked());
        QVERIFY(!fixed->isChecked());
        for (int id : kAddressIds) {
            QVERIFY(!w.Control(id)->isEnabled());
        }
        QCOMPARE(dlg.GetDlgItemAddress(IDC_IP_ADDRESS), 0x0A010203u);  // kept
        QCOMPARE(dlg.GetDlgItemAddress(IDC_SUBNET_MASK), 0xFFFFFF00u);

        ClickRadio(automatic);  // a checked radio button stays checked
        QVERIFY(automatic->isChecked());

        // The arrow keys move within the group and click what they reach.
        QCOMPARE(Focused(), automatic);
        Press(Qt::Key_Down);
        QCOMPARE(Focused(), fixed);
        QVERIFY(fixed->isChecked() && !automatic->isChecked());
        QVERIFY(w.Control(IDC_GATEWAY)->isEnabled());
        Press(Qt::Key_Up);
        QVERIFY(automatic->isChecked() && !fixed->isChecked());
        QVERIFY(!w.Control(IDC_GATEWAY)->isEnabled());
    });
}

// --- generating the file

void DialogTest::confirmWritesTheSameBytesAsTheFixture() {
    QTemporaryDir target;
    chosen_ = target.path();
    RunSettings([&](DialogWindow& w, CConfigDlg&) {
        ClickRadio(Ctl<QRadioButton>(w, IDC_FIXED_IP));
        const std::pair<int, const char*> addresses[] = {{IDC_IP_ADDRESS, "192.168.0.20"},
                                                         {IDC_GATEWAY, "192.168.0.1"},
                                                         {IDC_OTHER_DNS, "8.8.4.4"},
                                                         {IDC_PREFERRED_DNS, "8.8.8.8"}};
        for (const auto& [id, text] : addresses) {
            ClickInto(Ctl<AddressEdit>(w, id)->Field(0));
            Type(QString::fromLatin1(text));
        }
        ClickInto(w.Control(IDC_PUSH_ADDRESS));
        Type(QStringLiteral("http://push.example.com/call"));
        Press(Qt::Key_Return);
        Type(QStringLiteral("中文推送"));
        w.Control(IDC_LINE_GUARD)->setFocus(Qt::TabFocusReason);
        Press(Qt::Key_Down);
        ClickInto(w.Control(IDC_RING_LIMIT));
        Type(QStringLiteral("3"));
        ClickInto(w.Control(IDC_CIPKEY));
        Type(QStringLiteral("密鑰Key123"));

        const MessageSeen message = ConfirmAndReadMessage(w);
        QCOMPARE(message.text,
                 QStringLiteral(
                     "設定參數檔案已產生，請將產生的檔案複製到USB隨身碟或設備上的SD卡再插入設備"));
        QCOMPARE(message.caption, QStringLiteral("參數設置"));
        QCOMPARE(message.icon, QMessageBox::Information);
        QCOMPARE(message.button, QStringLiteral("確定"));
        QVERIFY(message.ownedByDialog);
        QVERIFY2(!w.Ended() && QApplication::activeModalWidget() == &w,
                 "the dialog stays open after confirming");
    });
    QCOMPARE(chooserCalls_, 1);
    QCOMPARE(chooserTitle_, QStringLiteral("選擇要將產生的設定檔存放的位置"));
    QCOMPARE(ReadAll(target.path() + QStringLiteral("/device_config.dat")),
             Fixture("full-form.dat"));
    QCOMPARE(ReadAll(StoredPath()), Fixture("full-form.dat"));

    // The next start shows what was saved.
    RunSettings([](DialogWindow& w, CConfigDlg& dlg) {
        QVERIFY(dlg.IsDlgButtonChecked(IDC_FIXED_IP));
        QCOMPARE(Ctl<AddressEdit>(w, IDC_GATEWAY)->Text(), QStringLiteral("192.168.0.1"));
        QCOMPARE(Ctl<LineEdit>(w, IDC_CIPKEY)->text(), QStringLiteral("密鑰Key123"));
    });
}

void DialogTest::cancellingTheFolderChooserWritesNothing() {
    RunSettings([&](DialogWindow& w, CConfigDlg&) {
        const MessageSeen message = ConfirmAndReadMessage(w);
        QVERIFY2(message.caption.isEmpty(), "cancelling shows nothing");
    });
    QCOMPARE(chooserCalls_, 1);
    QVERIFY(!QFileInfo::exists(config_->path() + QStringLiteral("/tavrel")));
}

void DialogTest::failedWriteIsReportedAndKeepsTheStoredCopy() {
    StoreFixture("full-form.dat");
    QTemporaryDir target;
    QVERIFY(QDir(target.path()).mkdir(QStringLiteral("device_config.dat")));  // in the way
    chosen_ = target.path();
    RunSettings([&](DialogWindow& w, CConfigDlg&) {
        ClickInto(w.Control(IDC_RING_LIMIT));
        Type(QStringLiteral("7"));
        const MessageSeen message = ConfirmAndReadMessage(w);
        QCOMPARE(message.caption, QStringLiteral("參數設置"));
        QCOMPARE(message.icon, QMessageBox::Critical);
        QVERIFY2(message.text.startsWith(QStringLiteral("設定參數檔案無法寫入，未產生任何檔案：")),
                 qPrintable(message.text));
        QVERIFY(message.text.contains(target.path() + QStringLiteral("/device_config.dat")));
        QVERIFY(message.ownedByDialog);
    });
    QVERIFY(QFileInfo(target.path() + QStringLiteral("/device_config.dat")).isDir());
    QCOMPARE(QDir(target.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{QStringLiteral("device_config.dat")});  // no temporary file left
    QCOMPARE(ReadAll(StoredPath()), Fixture("full-form.dat"));
}

// The medium fails after the new file took the old one's place: an error box that says
// so, not that nothing was produced; the stored copy stays as it was.
void DialogTest::replacedFileOnAFailingMediumIsReportedAsReplaced() {
    StoreFixture("foreign.dat");
    QTemporaryDir target;
    chosen_ = target.path();
    const auto failingFlush = [](int) { return EIO; };
    const tavrel::detail::FolderFlush saved = tavrel::detail::ReplaceFolderFlush(failingFlush);
    MessageSeen message;
    RunSettings([&](DialogWindow& w, CConfigDlg&) { message = ConfirmAndReadMessage(w); });
    tavrel::detail::ReplaceFolderFlush(saved);

    const QString path = target.path() + QStringLiteral("/device_config.dat");
    QCOMPARE(message.caption, QStringLiteral("參數設置"));
    QCOMPARE(message.icon, QMessageBox::Critical);
    QCOMPARE(message.text,
             path + QStringLiteral(
                        "\n\n檔案已取代原有的檔案，但儲存媒體回報錯誤，檔案可能沒有完整儲存"));
    QCOMPARE(ReadAll(path), Fixture("foreign-saved.dat"));
    QCOMPARE(ReadAll(StoredPath()), Fixture("foreign.dat"));
}

// The stored copy holds the key: its folders (made here from nothing) are 0700 and the
// file 0600, while the file in the chosen folder follows the umask.
void DialogTest::storedCopyIsTheUsersAlone() {
    QTemporaryDir target;
    chosen_ = target.path();
    const QString config = config_->path() + QStringLiteral("/new/config");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
    const mode_t savedMask = umask(022);
    RunSettings([&](DialogWindow& w, CConfigDlg&) {
        QCOMPARE(ConfirmAndReadMessage(w).icon, QMessageBox::Information);
    });
    umask(savedMask);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_->path()));

    const auto modeOf = [](const QString& path) {
        struct stat info {};
        return stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777
                                                                     : mode_t(-1);
    };
    QCOMPARE(modeOf(config_->path() + QStringLiteral("/new")), mode_t(0700));
    QCOMPARE(modeOf(config), mode_t(0700));
    QCOMPARE(modeOf(config + QStringLiteral("/tavrel")), mode_t(0700));
    QCOMPARE(modeOf(config + QStringLiteral("/tavrel/device_config.dat")), mode_t(0600));
    QCOMPARE(modeOf(target.path() + QStringLiteral("/device_config.dat")), mode_t(0644));
}

// A FIFO with no writer in the stored copy's place would hold a blocking open for ever:
// the dialog opens as on a first start.
void DialogTest::storedCopyThatIsNoFileLoadsAsAFirstStart() {
    QVERIFY(QDir(config_->path()).mkpath(QStringLiteral("tavrel")));
    QCOMPARE(mkfifo(QFile::encodeName(StoredPath()).constData(), 0600), 0);
    const int result = RunSettings([](DialogWindow& w, CConfigDlg& dlg) {
        QVERIFY(dlg.IsDlgButtonChecked(IDC_AUTO_IP));
        QCOMPARE(Ctl<AddressEdit>(w, IDC_SUBNET_MASK)->Text(), QStringLiteral("255.255.255.0"));
    });
    QCOMPARE(result, kLeftOpen);
}

// --- input rules

void DialogTest::editLimitsRefuseTypingAndPasting() {
    RunSettings([&](DialogWindow& w, CConfigDlg& dlg) {
        auto* push = Ctl<PlainEdit>(w, IDC_PUSH_ADDRESS);
        ClickInto(push);
        Type(QString(250, QLatin1Char('a')));
        Type(QStringLiteral("b"));
        QCOMPARE(push->toPlainText(), QString(250, QLatin1Char('a')));
        Press(Qt::Key_Return);  // refused, and it does not confirm either
        QCOMPARE(push->document()->blockCount(), 1);
        Press(Qt::Key_Backspace);
        Press(Qt::Key_Return);  // a line break takes two (CR LF): still refused at 249
        QCOMPARE(push->document()->blockCount(), 1);
        Press(Qt::Key_Backspace);
        Press(Qt::Key_Return);
        QCOMPARE(push->document()->blockCount(), 2);
        QCOMPARE(dlg.GetDlgItemText(IDC_PUSH_ADDRESS).size(), 250u);

        dlg.SetDlgItemText(IDC_PUSH_ADDRESS, std::u16string(245, u'x'));
        ClickInto(push);
        Paste(QStringLiteral("0123456789"));
        QCOMPARE(push->toPlainText(), QString(245, QLatin1Char('x')) + QStringLiteral("01234"));

        // Text from the program is shown whole; typing is refused, deleting is not.
        dlg.SetDlgItemText(IDC_PUSH_ADDRESS, std::u16string(300, u'y'));
        QCOMPARE(dlg.GetDlgItemText(IDC_PUSH_ADDRESS).size(), 300u);
        ClickInto(push);
        Type(QStringLiteral("z"));
        Press(Qt::Key_Backspace);
        QCOMPARE(push->toPlainText(), QString(299, QLatin1Char('y')));

        // The key: 63 bytes in code page 950, whole characters only.
        auto* key = Ctl<LineEdit>(w, IDC_CIPKEY);
        ClickInto(key);
        Type(QString(63, QLatin1Char('k')));
        Type(QStringLiteral("m"));
        QCOMPARE(key->text(), QString(63, QLatin1Char('k')));
        key->clear();
        Type(QString(62, QLatin1Char('k')));
        Type(QStringLiteral("密"));  // two bytes: does not fit
        QCOMPARE(key->text(), QString(62, QLatin1Char('k')));
        Press(Qt::Key_Backspace);
        Type(QStringLiteral("密"));
        QCOMPARE(key->text(), QString(61, QLatin1Char('k')) + QStringLiteral("密"));
        key->clear();
        Type(QString(60, QLatin1Char('k')));
        Paste(QStringLiteral("xy密z"));  // x, y fit; 密 would need 64 bytes
        QCOMPARE(key->text(), QString(60, QLatin1Char('k')) + QStringLiteral("xy"));
        dlg.SetDlgItemText(IDC_CIPKEY, std::u16string(70, u'q'));
        QCOMPARE(key->text().size(), 70);
        ClickInto(key);
        Type(QStringLiteral("r"));
        Press(Qt::Key_Backspace);
        QCOMPARE(key->text(), QString(69, QLatin1Char('q')));
    });
}

void DialogTest::ringCountTakesDigitsOnly() {
    RunSettings([&](DialogWindow& w, CConfigDlg& dlg) {
        auto* ring = Ctl<LineEdit>(w, IDC_RING_LIMIT);
        ClickInto(ring);
        Type(QStringLiteral("12a-3 "));
        QCOMPARE(ring->text(), QStringLiteral("123"));
        Paste(QStringLiteral("45x"));
        QCOMPARE(ring->text(), QStringLiteral("123"));
        Paste(QStringLiteral("45"));
        QCOMPARE(ring->text(), QStringLiteral("12345"));
        Type(QStringLiteral("67890"));
        QCOMPARE(ring->text(), QStringLiteral("123456789"));  // nine digits at most
        QCOMPARE(dlg.GetDlgItemInt(IDC_RING_LIMIT, true), 123456789);

        dlg.SetDlgItemInt(IDC_RING_LIMIT, -5, true);  // from a stored file: shown as is
        QCOMPARE(ring->text(), QStringLiteral("-5"));
        QCOMPARE(dlg.GetDlgItemInt(IDC_RING_LIMIT, true), -5);
    });
}

// The edits' input rule alone, for cases that typing reaches only with difficulty: a line
// break counts as CR LF in both limits and goes in whole or not at all, a surrogate pair
// is one character, and the tighter limit wins.
void DialogTest::inputRuleKeepsWholeCharactersWithinBothLimits_data() {
    QTest::addColumn<int>("maxUnits");  // -1: no limit
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<QString>("rest");  // the text that stays
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<QString>("fit");  // what of it goes in
    const auto row = [](const char* what, int maxUnits, int maxBytes, const std::u16string& rest,
                        const std::u16string& inserted, const std::u16string& fit) {
        QTest::newRow(what) << maxUnits << maxBytes << QString::fromStdU16String(rest)
                            << QString::fromStdU16String(inserted)
                            << QString::fromStdU16String(fit);
    };
    const std::u16string pair = u"\U0001F600";
    row("break past the unit limit", 5, -1, u"abc", u"d\ne", u"d");
    row("break within the unit limit", 6, -1, u"abc", u"d\ne", u"d\n");
    row("pair past the unit limit", 3, -1, u"ab", pair + u"c", u"");
    row("pair within the unit limit", 4, -1, u"ab", pair + u"c", pair);
    row("break past the byte limit", -1, 4, u"ab", u"c\nd", u"c");
    row("double-byte at the byte limit", -1, 5, u"abc", u"密x", u"密");
    row("bytes tighter than units", 10, 6, u"", u"中文abc", u"中文ab");
    row("units tighter than bytes", 3, 63, u"", u"中文abc", u"中文a");
    row("rest already over the limit", 2, -1, u"abcd", u"x", u"");
}

void DialogTest::inputRuleKeepsWholeCharactersWithinBothLimits() {
    QFETCH(int, maxUnits);
    QFETCH(int, maxBytes);
    QFETCH(QString, rest);
    QFETCH(QString, inserted);
    QFETCH(QString, fit);
    tavrel::ui::qt::InputRule rule;
    rule.maxUnits = maxUnits;
    rule.maxBytes = maxBytes;
    rule.codePage = tavrel::kTraditionalChineseCodePage;
    QCOMPARE(rule.Fit(rest, inserted), fit);
}

void DialogTest::readsIntegersLikeWindows_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isSigned");
    QTest::addColumn<int>("value");
    const auto row = [](const QString& text, bool isSigned, int value) {
        QTest::addRow("%s \"%s\"", isSigned ? "signed" : "unsigned", qPrintable(text))
            << text << isSigned << value;
    };
    row(QString(), true, 0);
    row(QStringLiteral("42"), true, 42);
    row(QStringLiteral("  42  "), true, 42);
    row(QStringLiteral("-5"), true, -5);
    row(QStringLiteral("+7"), true, 7);
    row(QStringLiteral("2147483647"), true, INT_MAX);
    row(QStringLiteral("-2147483648"), true, INT_MIN);
    row(QStringLiteral("2147483648"), true, 0);
    row(QStringLiteral("12a"), true, 0);
    row(QStringLiteral("-"), true, 0);
    row(QStringLiteral("1 2"), true, 0);
    row(QStringLiteral("4294967295"), false, -1);
    row(QStringLiteral("-1"), false, 0);
}

void DialogTest::readsIntegersLikeWindows() {
    QFETCH(QString, text);
    QFETCH(bool, isSigned);
    QFETCH(int, value);
    RunSettings([&](DialogWindow&, CConfigDlg& dlg) {
        dlg.SetDlgItemText(IDC_RING_LIMIT, text.toStdU16String());
        QCOMPARE(dlg.GetDlgItemInt(IDC_RING_LIMIT, isSigned), value);
    });
}

void DialogTest::addressEntryKeyboard() {
    RunSettings([&](DialogWindow& w, CConfigDlg& dlg) {
        auto* ip = Ctl<AddressEdit>(w, IDC_IP_ADDRESS);
        ClickInto(ip->Field(0));
        Type(QStringLiteral("1.2.3.4"));
        QCOMPARE(ip->Text(), QStringLiteral("1.2.3.4"));
        QCOMPARE(dlg.GetDlgItemAddress(IDC_IP_ADDRESS), 0x01020304u);
        QCOMPARE(Focused(), ip->Field(3));

        // A third digit moves on (a dot right after it does nothing more); values above
        // 255 become 255.
        dlg.SetDlgItemAddress(IDC_IP_ADDRESS, 0);
        ip->Field(0)->clear();
        ip->Field(1)->clear();
        ip->Field(2)->clear();
        ip->Field(3)->clear();
        ClickInto(ip->Field(0));
        Type(QStringLiteral("192.168001"));
        QCOMPARE(ip->Text(), QStringLiteral("192.168.001."));
        QCOMPARE(dlg.GetDlgItemAddress(IDC_IP_ADDRESS), 0xC0A80100u);
        ClickInto(ip->Field(1));
        Press(Qt::Key_Home);
        QCOMPARE(Focused(), ip->Field(0));
        ClickInto(ip->Field(0));
        ip->Field(0)->selectAll();
        Type(QStringLiteral("300"));
        QCOMPARE(ip->Field(0)->text(), QStringLiteral("255"));
        QCOMPARE(Focused(), ip->Field(1));

        // Backspace at the start of a field goes back to the end of the one before.
        auto* gateway = Ctl<AddressEdit>(w, IDC_GATEWAY);
        ClickInto(gateway->Field(0));
        Type(QStringLiteral("10."));
        QCOMPARE(Focused(), gateway->Field(1));
        Press(Qt::Key_Backspace);
        QCOMPARE(Focused(), gateway->Field(0));
        Press(Qt::Key_Backspace);
        QCOMPARE(gateway->Field(0)->text(), QStringLiteral("1"));
        Type(QStringLiteral("0.1"));  // partly filled: the blank fields read 0
        QCOMPARE(dlg.GetDlgItemAddress(IDC_GATEWAY), 0x0A010000u);
        Type(QStringLiteral("x-"));  // nothing but digits
        QCOMPARE(gateway->Text(), QStringLiteral("10.1.."));

        // A dot in an empty field stays there.
        auto* dns = Ctl<AddressEdit>(w, IDC_OTHER_DNS);
        ClickInto(dns->Field(0));
        Type(QStringLiteral(".."));
        QCOMPARE(Focused(), dns->Field(0));
        QCOMPARE(dns->Text(), QStringLiteral("..."));

        // Disabled as a whole.
        dlg.EnableDlgItem(IDC_OTHER_DNS, false);
        for (int i = 0; i < 4; ++i) {
            QVERIFY(!dns->Field(i)->isEnabled());
        }
    });
}

// --- keyboard

void DialogTest::tabOrderFollowsTheTemplate() {
    RunSettings([&](DialogWindow& w, CConfigDlg&) {
        const int order[] = {IDOK,           IDCANCEL,       IDC_IP_ADDRESS,    IDC_SUBNET_MASK,
                             IDC_GATEWAY,    IDC_OTHER_DNS,  IDC_PREFERRED_DNS, IDC_PUSH_ADDRESS,
                             IDC_RING_LIMIT, IDC_LINE_GUARD, IDC_CIPKEY,        IDOK};
        QCOMPARE(w.ControlId(Focused()), IDOK);
        for (std::size_t i = 1; i < std::size(order); ++i) {
            Press(Qt::Key_Tab);
            QCOMPARE(w.ControlId(Focused()), order[i]);
        }
        Press(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(w.ControlId(Focused()), IDC_CIPKEY);

        // The radio buttons are no tab stops; disabled fields are skipped.
        ClickRadio(Ctl<QRadioButton>(w, IDC_AUTO_IP));
        Press(Qt::Key_Tab);
        QCOMPARE(w.ControlId(Focused()), IDC_PUSH_ADDRESS);
        Press(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(w.ControlId(Focused()), IDCANCEL);
    });
}

void DialogTest::enterPressesConfirmExceptWhereTheControlTakesIt() {
    RunSettings([&](DialogWindow& w, CConfigDlg&) {
        ClickInto(w.Control(IDC_CIPKEY));
        Press(Qt::Key_Return);
        QCOMPARE(chooserCalls_, 1);
        ClickInto(Ctl<AddressEdit>(w, IDC_GATEWAY)->Field(2));
        Press(Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(chooserCalls_, 2);
        auto* guard = Ctl<QComboBox>(w, IDC_LINE_GUARD);
        guard->setFocus(Qt::TabFocusReason);
        Press(Qt::Key_Return);
        QCOMPARE(chooserCalls_, 3);
        // In the opened list, Enter only picks the entry and closes the list.
        Press(Qt::Key_F4);
        QWidget* list = QApplication::activePopupWidget();
        QVERIFY(list != nullptr);
        QWidget* view = list->focusWidget() != nullptr ? list->focusWidget() : list;
        QTest::keyClick(view, Qt::Key_Down);
        QTest::keyClick(view, Qt::Key_Return);
        QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);  // after its closing effect
        QCOMPARE(guard->currentIndex(), 1);
        QCOMPARE(chooserCalls_, 3);

        ClickInto(w.Control(IDC_PUSH_ADDRESS));
        Type(QStringLiteral("a"));
        Press(Qt::Key_Return);
        Type(QStringLiteral("b"));
        QCOMPARE(chooserCalls_, 3);
        QVERIFY(w.isWindow() && w.windowType() == Qt::Window);  // a task-bar button of its own
        QCOMPARE(Ctl<PlainEdit>(w, IDC_PUSH_ADDRESS)->WindowsText(), QStringLiteral("a\r\nb"));
        QVERIFY(!w.Ended());
    });
}

void DialogTest::endingTheDialog_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Escape") << "escape";
    QTest::newRow("close box") << "close";
    QTest::newRow("Enter on the exit button") << "enter on exit";
    QTest::newRow("exit clicked") << "click exit";
}

void DialogTest::endingTheDialog() {
    QFETCH(QString, how);
    const int result = RunSettings([&](DialogWindow& w, CConfigDlg&) {
        ClickInto(w.Control(IDC_RING_LIMIT));
        Type(QStringLiteral("5"));
        if (how == QLatin1String("escape")) {
            Press(Qt::Key_Escape);
        } else if (how == QLatin1String("close")) {
            w.close();
        } else if (how == QLatin1String("enter on exit")) {
            w.Control(IDCANCEL)->setFocus(Qt::TabFocusReason);
            Press(Qt::Key_Return);
        } else {
            QTest::mouseClick(w.Control(IDCANCEL), Qt::LeftButton);
        }
        QVERIFY(w.Ended());
    });
    QCOMPARE(result, IDCANCEL);
    QCOMPARE(chooserCalls_, 0);
    QVERIFY(!QFileInfo::exists(config_->path() + QStringLiteral("/tavrel")));
}

// --- window chrome

void DialogTest::aboutBoxFromTheContextMenu() {
    RunSettings([&](DialogWindow& w, CConfigDlg& dlg) {
        ClickInto(w.Control(IDC_RING_LIMIT));
        Type(QStringLiteral("42"));
        for (int round = 0; round < 2; ++round) {
            bool aboutShown = false;
            WhenShown<DialogWindow> about(
                [&](DialogWindow* box) {
                    aboutShown = true;
                    QCOMPARE(box->windowTitle(), QStringLiteral("關於Tavrel"));
                    QCOMPARE(box->parentWidget(), &w);  // owned by the settings window
                    QVERIFY(box->isModal());
                    QStringList texts;
                    for (const QLabel* label : box->findChildren<QLabel*>()) {
                        texts << label->text();
                    }
                    QVERIFY(texts.contains(QStringLiteral("Tavrel Version 1.0")));
                    QVERIFY(QTest::qWaitForWindowActive(box));
                    QCOMPARE(box->ControlId(Focused()), IDOK);
                    Press(round == 0 ? Qt::Key_Return : Qt::Key_Escape);
                    QVERIFY(box->Ended());
                },
                "About box", [&](DialogWindow* box) { return box != &w; });
            WhenShown<QMenu> menu(
                [&](QMenu* m) {
                    const QList<QAction*> actions = m->actions();
                    QVERIFY(actions.size() >= 2);
                    QVERIFY(actions[actions.size() - 2]->isSeparator());
                    QAction* entry = actions.last();
                    QCOMPARE(entry->text(), QStringLiteral("&關於Tavrel"));
                    QTest::mouseClick(m, Qt::LeftButton, {}, m->actionGeometry(entry).center());
                },
                "context menu");
            QWidget* label =
                w.childAt(w.Control(IDC_RING_LIMIT)->geometry().topLeft() - QPoint(20, -5));
            QVERIFY(label != nullptr);
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2),
                                    label->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(label, &event);
            QCoreApplication::processEvents();
            QVERIFY(menu.Seen());
            QVERIFY(aboutShown);
            QCOMPARE(QApplication::activeModalWidget(), &w);
            QVERIFY(!w.Ended());
            QCOMPARE(dlg.GetDlgItemInt(IDC_RING_LIMIT, true), 42);
        }
    });
}

void DialogTest::contextMenuFromTheKeyboard_data() {
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("mods");
    QTest::addColumn<int>("focus");  // the control that has the focus
    QTest::addColumn<MenuShown>("shown");
    const auto row = [](const char* what, Qt::Key key, Qt::KeyboardModifiers mods, int focus,
                        MenuShown shown) { QTest::newRow(what) << key << mods << focus << shown; };
    row("Menu key on confirm", Qt::Key_Menu, Qt::NoModifier, IDOK, MenuShown::Window);
    row("Shift+F10 on confirm", Qt::Key_F10, Qt::ShiftModifier, IDOK, MenuShown::Window);
    row("Shift+F10 on the guard list", Qt::Key_F10, Qt::ShiftModifier, IDC_LINE_GUARD,
        MenuShown::Window);
    row("Menu key in the ring count", Qt::Key_Menu, Qt::NoModifier, IDC_RING_LIMIT,
        MenuShown::Control);
    row("Shift+F10 in the key", Qt::Key_F10, Qt::ShiftModifier, IDC_CIPKEY, MenuShown::Control);
    row("F10 alone", Qt::Key_F10, Qt::NoModifier, IDOK, MenuShown::None);
}

void DialogTest::contextMenuFromTheKeyboard() {
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, mods);
    QFETCH(int, focus);
    QFETCH(MenuShown, shown);
    RunSettings([&](DialogWindow& w, CConfigDlg&) {
        QWidget* control = w.Control(focus);
        control->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(control->hasFocus());
        if (shown == MenuShown::None) {
            QTest::keyClick(control, key, mods);
            QCoreApplication::processEvents();
            QCOMPARE(QApplication::activePopupWidget(), nullptr);
        } else {
            QString last;
            WhenShown<QMenu> menu(
                [&](QMenu* m) {
                    last = m->actions().isEmpty() ? QString() : m->actions().last()->text();
                    m->close();
                },
                "context menu");
            QTest::keyClick(control, key, mods);
            QTRY_VERIFY(menu.Seen());
            QCOMPARE(last == QStringLiteral("&關於Tavrel"), shown == MenuShown::Window);
            QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
        }
        QVERIFY(!w.Ended());
    });
}

void DialogTest::systemCommands() {
    const int result = RunSettings([&](DialogWindow& w, CConfigDlg& dlg) {
        // Every command from 0x10 to 0x1F is the About entry; 0x20 is not.
        bool aboutShown = false;
        {
            WhenShown<DialogWindow> about(
                [&](DialogWindow* box) {
                    aboutShown = true;
                    box->reject();
                },
                "About box", [&](DialogWindow* box) { return box != &w; });
            dlg.SendMessage(tavrel::ui::wm::SysCommand, 0x001F, 0);
        }
        QVERIFY(aboutShown);
        aboutShown = false;
        {
            WhenShown<DialogWindow> about(
                [&](DialogWindow* box) {
                    aboutShown = true;
                    box->reject();
                },
                "About box", [&](DialogWindow* box) { return box != &w; });
            dlg.SendMessage(tavrel::ui::wm::SysCommand, 0x0020, 0);
            QTest::qWait(50);
        }
        QVERIFY(!aboutShown);
        QVERIFY(!w.Ended());
        // Close goes on to the default handling: the cancel command.
        dlg.SendMessage(tavrel::ui::wm::SysCommand, tavrel::ui::sc::Close, 0);
        QVERIFY(w.Ended());
    });
    QCOMPARE(result, IDCANCEL);
}

// An exception from a handler reaches neither Qt's event handling nor the caller of
// DoModal: the dialog ends with -1.
void DialogTest::exceptionFromAHandlerEndsTheDialog_data() {
    QTest::addColumn<bool>("inInit");
    QTest::newRow("from the confirm handler") << false;
    QTest::newRow("from OnInitDialog") << true;
}

void DialogTest::exceptionFromAHandlerEndsTheDialog() {
    QFETCH(bool, inInit);
    ThrowingDlg dlg(inInit);
    WhenShown<DialogWindow> click(
        [](DialogWindow* w) { QTest::mouseClick(w->Control(IDOK), Qt::LeftButton); },
        "dialog with a throwing handler");
    QCOMPARE(dlg.DoModal(), -1);
    QCOMPARE(click.Seen(), !inInit);
}

void DialogTest::applicationIconEverywhere() {
    const auto* icon = static_cast<const QIcon*>(tavrel::ui::LoadAppIcon(IDI_APP));
    if (icon == nullptr) {
        QSKIP("no icon images in app/icon yet");
    }
    const int size = tavrel::ui::GetSystemMetrics(tavrel::ui::sm::CxIcon);
    QCOMPARE(tavrel::ui::GetSystemMetrics(tavrel::ui::sm::CyIcon), size);
    const QImage image = icon->pixmap(QSize(size, size)).toImage();
    QCOMPARE(image.size(), QSize(size, size));
    // A pixel the icon covers fully, to look for where it should be drawn.
    QPoint opaque(-1, -1);
    for (int y = size / 4; y < size && opaque.x() < 0; ++y) {
        for (int x = size / 4; x < size; ++x) {
            if (qAlpha(image.pixel(x, y)) == 255) {
                opaque = {x, y};
                break;
            }
        }
    }
    QVERIFY(opaque.x() >= 0);

    RunSettings([&](DialogWindow& w, CConfigDlg& dlg) {
        QCOMPARE(w.windowIcon().cacheKey(), icon->cacheKey());

        // Minimised, the window paints the icon centred on its erased background.
        const QPoint at((w.width() - size + 1) / 2, (w.height() - size + 1) / 2);
        const auto paintWindowOnly = [&w] {
            QImage shot(w.size(), QImage::Format_ARGB32);
            shot.fill(Qt::magenta);
            w.render(&shot, QPoint(), QRegion(), QWidget::DrawWindowBackground);
            return shot;
        };
        w.setWindowState(Qt::WindowMinimized);
        QVERIFY(dlg.IsIconic());
        QImage shot = paintWindowOnly();
        QCOMPARE(shot.pixel(at + opaque), image.pixel(opaque));
        QCOMPARE(QColor(shot.pixel(2, 2)), w.palette().color(QPalette::Window));
        w.setWindowState(Qt::WindowNoState);
        QVERIFY(!dlg.IsIconic());
        shot = paintWindowOnly();
        QVERIFY(shot.pixel(at + opaque) != image.pixel(opaque));

        bool aboutShown = false;
        WhenShown<DialogWindow> about(
            [&](DialogWindow* box) {
                aboutShown = true;
                QLabel* iconLabel = nullptr;
                for (QLabel* label : box->findChildren<QLabel*>()) {
                    if (!label->pixmap().isNull()) {
                        iconLabel = label;
                    }
                }
                QVERIFY(iconLabel != nullptr);
                QCOMPARE(iconLabel->size(), QSize(size, size));
                box->reject();
            },
            "About box", [&](DialogWindow* box) { return box != &w; });
        dlg.SendMessage(tavrel::ui::wm::SysCommand, IDM_ABOUT, 0);
        QVERIFY(aboutShown);
    });
}

// --- shell

void DialogTest::folderChooserDialog_data() {
    QTest::addColumn<bool>("accept");
    QTest::newRow("cancelled") << false;
    QTest::newRow("accepted") << true;
}

void DialogTest::folderChooserDialog() {
    QFETCH(bool, accept);
    tavrel::ui::qt::SetFolderChooser({});  // the real one
    QTemporaryDir start;
    const QString title = QStringLiteral("選擇要將產生的設定檔存放的位置");
    bool seen = false;
    WhenShown<QFileDialog> chooser(
        [&](QFileDialog* d) {
            seen = true;
            QCOMPARE(d->windowTitle(), title);
            QCOMPARE(d->fileMode(), QFileDialog::Directory);
            QVERIFY(d->testOption(QFileDialog::ShowDirsOnly));
            QCOMPARE(QDir(d->directory()).canonicalPath(), QDir(start.path()).canonicalPath());
            QStringList buttons;
            for (const QPushButton* b : d->findChildren<QPushButton*>()) {
                buttons << b->text();
            }
            QVERIFY2(buttons.contains(QStringLiteral("取消")), qPrintable(buttons.join(',')));
            if (accept) {
                QMetaObject::invokeMethod(d, "accept");
            } else {
                d->reject();
            }
        },
        "folder chooser");
    const tavrel::ui::CWnd noOwner;
    const std::optional<std::u16string> folder =
        tavrel::ui::BrowseForFolder(noOwner, title.toStdU16String(), start.path().toStdU16String());
    QVERIFY(seen);
    if (accept) {
        QVERIFY(folder.has_value());
        QCOMPARE(QDir(QString::fromStdU16String(*folder)).canonicalPath(),
                 QDir(start.path()).canonicalPath());
    } else {
        QVERIFY(!folder.has_value());
    }
}

// The stored copy's folder: $XDG_CONFIG_HOME/tavrel when that is an absolute path, else
// ~/.config/tavrel.
void DialogTest::storedCopyFolderFollowsXdgConfigHome() {
    const QString home = QDir::homePath();
    qputenv("XDG_CONFIG_HOME", "relative/ignored");
    QCOMPARE(QString::fromStdU16String(tavrel::ui::GetProgramDirectory(u"tavrel")),
             home + QStringLiteral("/.config/tavrel"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_->path()));
    QCOMPARE(QString::fromStdU16String(tavrel::ui::GetProgramDirectory(u"tavrel")),
             config_->path() + QStringLiteral("/tavrel"));
}

// A full confirm through the real chooser: while it is open the settings window takes
// no input, and afterwards the configuration folder holds the stored copy and nothing
// of the toolkit's.
void DialogTest::theChooserIsModalAndKeepsNoState() {
    tavrel::ui::qt::SetFolderChooser({});
    QTemporaryDir target;
    int choosers = 0;
    MessageSeen message;
    RunSettings([&](DialogWindow& w, CConfigDlg&) {
        QWindow* settings = w.windowHandle();
        const QPoint confirm = w.Control(IDOK)->geometry().center();
        WhenShown<QMessageBox> box(
            [&](QMessageBox* b) {
                message.caption = b->windowTitle();
                message.icon = b->icon();
                QTest::mouseClick(b->button(QMessageBox::Ok), Qt::LeftButton);
            },
            "message box");
        WhenShown<QFileDialog> chooser(
            [&](QFileDialog* d) {
                choosers = static_cast<int>(w.findChildren<QFileDialog*>().size());
                QCOMPARE(d->parentWidget(), &w);
                QVERIFY(d->isModal());
                // A second confirm, by mouse and by Enter, reaches nothing.
                QTest::mouseClick(settings, Qt::LeftButton, {}, confirm);
                QTest::keyClick(settings, Qt::Key_Return);
                QCoreApplication::processEvents();
                QCOMPARE(w.findChildren<QFileDialog*>().size(), qsizetype{1});
                QCOMPARE(QApplication::activeModalWidget(), d);
                d->setDirectory(target.path());
                QMetaObject::invokeMethod(d, "accept");
            },
            "folder chooser");
        QTest::mouseClick(settings, Qt::LeftButton, {}, confirm);
        QVERIFY(chooser.Seen());
        QVERIFY(box.Seen());
        // The window works as before.
        QCOMPARE(QApplication::activeModalWidget(), &w);
        QTest::mouseClick(settings, Qt::LeftButton, {}, w.Control(IDCANCEL)->geometry().center());
        QVERIFY(w.Ended());
    });
    QCOMPARE(choosers, 1);
    QCOMPARE(message.icon, QMessageBox::Information);
    QCOMPARE(ReadAll(target.path() + QStringLiteral("/device_config.dat")),
             Fixture("fresh-form.dat"));
    QStringList kept;
    QDirIterator it(config_->path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        kept << QDir(config_->path()).relativeFilePath(it.next());
    }
    kept.sort();
    QCOMPARE(kept,
             (QStringList{QStringLiteral("tavrel"), QStringLiteral("tavrel/device_config.dat")}));
}

void DialogTest::layoutKeepsEveryLabelReadable() {
    RunSettings([&](DialogWindow& w, CConfigDlg&) {
        // Arial, or its metric twin; the Chinese glyphs from a font that has them.
        const QString face = QFontInfo(w.font()).family();
        QVERIFY2(face == QLatin1String("Arial") || face == QLatin1String("Liberation Sans"),
                 qPrintable(face));
        const QRawFont han = QRawFont::fromFont(w.font(), QFontDatabase::TraditionalChinese);
        QVERIFY2(han.supportsCharacter(QChar(0x78BA)), qPrintable(han.familyName()));  // 確

        QList<QWidget*> controls;
        for (QWidget* child : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->isWindow() || child->isHidden()) {
                continue;
            }
            QVERIFY(w.rect().contains(child->geometry()));
            if (auto* label = qobject_cast<QLabel*>(child); label && !label->text().isEmpty()) {
                const QFontMetrics metrics(label->font());
                QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->width(),
                         qPrintable(label->text()));
                QVERIFY2(metrics.height() <= label->height(), qPrintable(label->text()));
            }
            if (!qobject_cast<QGroupBox*>(child)) {
                controls << child;
            }
        }
        for (int i = 0; i < controls.size(); ++i) {
            for (int j = i + 1; j < controls.size(); ++j) {
                QVERIFY2(!controls[i]->geometry().intersects(controls[j]->geometry()),
                         qPrintable(QStringLiteral("%1 overlaps %2")
                                        .arg(w.ControlId(controls[i]))
                                        .arg(w.ControlId(controls[j]))));
            }
        }
    });
}

// What a screen reader learns of each control: its role, its name (its own caption, or
// the label on its row) and its value.
void DialogTest::accessibleRolesNamesAndValues_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QAccessible::Role>("role");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    const auto row = [](const char* what, int id, QAccessible::Role role, const char16_t* name,
                        const char16_t* value) {
        QTest::newRow(what) << id << role << QString::fromStdU16String(name)
                            << QString::fromStdU16String(value);
    };
    row("confirm", IDOK, QAccessible::Button, u"確定", u"");
    row("exit", IDCANCEL, QAccessible::Button, u"退出", u"");
    row("automatic address", IDC_AUTO_IP, QAccessible::RadioButton, u"自動取得IP位址", u"");
    row("fixed address", IDC_FIXED_IP, QAccessible::RadioButton, u"使用下列的IP位址:", u"");
    row("IP address", IDC_IP_ADDRESS, QAccessible::EditableText, u"IP位址", u"192.168.0.20");
    row("subnet mask", IDC_SUBNET_MASK, QAccessible::EditableText, u"子網路遮罩", u"255.255.255.0");
    row("gateway", IDC_GATEWAY, QAccessible::EditableText, u"預設閘道", u"192.168.0.1");
    row("other DNS", IDC_OTHER_DNS, QAccessible::EditableText, u"其他DNS 伺服器", u"8.8.4.4");
    row("preferred DNS", IDC_PREFERRED_DNS, QAccessible::EditableText, u"慣用DNS伺服器",
        u"8.8.8.8");
    row("push address", IDC_PUSH_ADDRESS, QAccessible::EditableText, u"來電號碼推送位址",
        u"http://push.example.com/call\n中文推送");
    row("ring count", IDC_RING_LIMIT, QAccessible::EditableText, u"來電響鈴超過", u"3");
    row("line guard", IDC_LINE_GUARD, QAccessible::ComboBox, u"惡意佔用外線設定", u"開啟");
    row("key", IDC_CIPKEY, QAccessible::EditableText, u"CIPKEY", u"密鑰Key123");
}

void DialogTest::accessibleRolesNamesAndValues() {
    QFETCH(int, id);
    QFETCH(QAccessible::Role, role);
    QFETCH(QString, name);
    QFETCH(QString, value);
    StoreFixture("full-form.dat");
    RunSettings([&](DialogWindow& w, CConfigDlg&) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w.Control(id));
        QVERIFY(a != nullptr && a->isValid());
        QCOMPARE(a->role(), role);
        QCOMPARE(a->text(QAccessible::Name), name);
        QCOMPARE(a->text(QAccessible::Value), value);
    });
}

void DialogTest::accessibleCheckedStateAndAddressFields() {
    StoreFixture("full-form.dat");
    RunSettings([&](DialogWindow& w, CConfigDlg&) {
        // The radio buttons tell which is checked.
        const auto checked = [&](int id) {
            return QAccessible::queryAccessibleInterface(w.Control(id))->state().checked;
        };
        QVERIFY(checked(IDC_FIXED_IP) && !checked(IDC_AUTO_IP));

        // The address, read as text (what the Linux bridge passes on), and its fields.
        QAccessibleInterface* ip = QAccessible::queryAccessibleInterface(w.Control(IDC_IP_ADDRESS));
        QAccessibleTextInterface* text = ip->textInterface();
        QVERIFY(text != nullptr);
        QCOMPARE(text->text(0, text->characterCount()), QStringLiteral("192.168.0.20"));
        QCOMPARE(ip->childCount(), 4);
        const char* fields[] = {"192", "168", "0", "20"};
        for (int i = 0; i < 4; ++i) {
            QAccessibleInterface* field = ip->child(i);
            QCOMPARE(field->role(), QAccessible::EditableText);
            QCOMPARE(field->text(QAccessible::Value), QString::fromLatin1(fields[i]));
            QCOMPARE(field->parent()->object(), w.Control(IDC_IP_ADDRESS));
        }
    });
}

QTEST_MAIN(DialogTest)
#include "DialogTest.moc"
