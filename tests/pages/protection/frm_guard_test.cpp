#include "pages/protection/frm_guard.h"

#include "core/settings/regedit.h"
#include "pages/app/frm_main.h"
#include "pages/app/navigator.h"
#include "pages/support/page_fixture.h"
#include "support/read_only.h"
#include "support/scripted_drives.h"

namespace twk {

using platform::DriveType;

class FrmGuardTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::PageEnvironment> env;
    std::unique_ptr<Navigator> pages;
    test::ScriptedDriveSource* drives = nullptr;  // owned by the page
    frmGuard* page = nullptr;

    void addUsbDrives(int count) {
        for (int i = 0; i < count; ++i) {
            const std::string root = "/media/usb" + std::to_string(i);
            drivesToInstall.emplace_back(root, DriveType::Removable);
            env->helper.drives.push_back({root, {1, "Stick " + std::to_string(i)}});
        }
    }
    std::vector<std::pair<std::string, DriveType>> drivesToInstall;

    void open() {
        pages->registerPage(PageId::Protection, [this](Navigator& navigator) {
            auto source = std::make_unique<test::ScriptedDriveSource>();
            source->drives = drivesToInstall;
            drives = source.get();
            return new frmGuard(navigator.context(), navigator, std::move(source));
        });
        page = static_cast<frmGuard*>(pages->open(PageId::Protection));
    }
    template <typename T = PictureButton>
    T* control(const char* name) {
        T* found = page->findChild<T*>(name);
        if (!found) qFatal("missing control %s", name);
        return found;
    }
    QStringList rowTexts(const char* name) { return test::rowCaptions(page, name); }
    int rowsShowing(const char* picture) {
        int count = 0;
        for (SkinImage* row : page->findChildren<SkinImage*>("imgdisk"))
            count += row->showsPicture(picture) ? 1 : 0;
        return count;
    }
    std::string storedGuard() {
        return Regedit::GetString(Regedit::RootKey(env->store.path()), kSettingsKey, "Guard");
    }
    bool storeExists() {
        return test::exists(Regedit::RootKey(env->store.path()).keyFile(kSettingsKey));
    }

private slots:
    void init() {
        env = std::make_unique<test::PageEnvironment>();
        env->addLanguage("English",
                         "[frmGuard]\nlfg_pagename=Protection page\nlfg_enableguard=Enable "
                         "protection\nlfg_notdevices=No removable drives found\n");
        env->startUp();
        pages = std::make_unique<Navigator>(env->context, env->tray);
        drivesToInstall.clear();
    }
    void cleanup() {
        pages.reset();
        env.reset();
    }

    void storedOnOpensSwitchedOnWithProtectedDrivesAndWritesTheSettings() {
        addUsbDrives(2);
        env->context.mainOp.isGuard = "1";
        open();
        QCOMPARE(control("ch_guard")->tag(), QString("1"));
        QCOMPARE(rowsShowing("usb_mini1"), 2);
        QVERIFY(storeExists());
        QCOMPARE(storedGuard(), std::string("1"));
        QCOMPARE(control<Caption>("lblGuard")->text(), QString("Protection page"));
        QCOMPARE(control<Caption>("txt_guard")->text(), QString("Enable protection"));
    }

    void anyOtherStoredValueOpensOffAndWritesNothing() {
        for (const char* stored : {"0", "", "yes", " 1"}) {
            addUsbDrives(1);
            env->context.mainOp.isGuard = stored;
            open();
            QCOMPARE(control("ch_guard")->tag(), QString("0"));
            QVERIFY(control("ch_guard")->showsPicture("ch_0"));
            QCOMPARE(rowsShowing("usb_mini0"), 1);
            QVERIFY(!storeExists());
            pages->unload(PageId::Protection);
            drivesToInstall.clear();
            env->helper.drives.clear();
        }
    }

    void clickingThePictureOrTheCaptionTogglesAndSavesEachTime() {
        addUsbDrives(3);
        open();
        test::click(control("ch_guard"));
        QCOMPARE(control("ch_guard")->tag(), QString("1"));
        QVERIFY(control("ch_guard")->showsPicture("ch_3"));
        QCOMPARE(env->context.mainOp.isGuard, std::string("1"));
        QCOMPARE(storedGuard(), std::string("1"));
        QCOMPARE(rowsShowing("usb_mini1"), 3);
        test::click(control<Caption>("txt_guard"));
        QCOMPARE(control("ch_guard")->tag(), QString("0"));
        QVERIFY(control("ch_guard")->showsPicture("ch_1"));
        QCOMPARE(storedGuard(), std::string("0"));
        QCOMPARE(rowsShowing("usb_mini0"), 3);
    }

    void hoverFollowsTheStateAndThePageSurfaceResetsIt() {
        open();
        test::hover(control("ch_guard"));
        QVERIFY(control("ch_guard")->showsPicture("ch_1"));
        QCOMPARE(control<Caption>("txt_guard")->textColor(), ColorRef(0x00969696));
        QTest::mouseMove(page, QPoint(600, 460));
        QVERIFY(control("ch_guard")->showsPicture("ch_0"));
        QCOMPARE(control<Caption>("txt_guard")->textColor(), ColorRef(0x00484848));
        test::click(control("ch_guard"));
        QTest::mouseMove(page, QPoint(600, 450));
        QVERIFY(control("ch_guard")->showsPicture("ch_2"));
        test::hover(control<Caption>("txt_guard"));
        QVERIFY(control("ch_guard")->showsPicture("ch_3"));
        test::hover(control("btn_up"));
        QVERIFY(control("btn_up")->showsPicture("btn_up1"));
        test::leave(control("btn_up"));
        QVERIFY(control("btn_up")->showsPicture("btn_up1"));
        QTest::mouseMove(page, QPoint(600, 440));
        QVERIFY(control("btn_up")->showsPicture("btn_up0"));
    }

    void aStoreWithoutWriteAccessIsToldAndTheSwitchStaysAsStored() {
        env->context.mainOp.Save();
        const std::string keyFile = Regedit::RootKey(env->store.path()).keyFile(kSettingsKey);
        test::ReadOnlyFolder readOnly(keyFile.substr(0, keyFile.rfind('/')));
        if (!readOnly.active()) QSKIP("this machine allows no read-only folder");
        addUsbDrives(1);
        open();
        test::click(control("ch_guard"));
        QCOMPARE(env->messages.shown.size(), size_t(1));
        QCOMPARE(env->messages.shown[0].title, std::string("Tarnwick"));
        QVERIFY(env->messages.shown[0].icon == MsgIcon::Error);
        QCOMPARE(control("ch_guard")->tag(), QString("0"));
        QVERIFY(control("ch_guard")->showsPicture("ch_1"));
        QCOMPARE(env->context.mainOp.isGuard, std::string(""));
        QCOMPARE(rowsShowing("usb_mini0"), 1);
    }

    // Opening the page saves the stored state with the defaults the store still lacks; a store
    // that refuses it changes nothing shown, and the user hears of it with the page up.
    void anUnwritableStoreOpensOnTheStoredStateAndTellsOverThePage() {
        const Regedit::RootKey store(env->store.path());
        QVERIFY(Regedit::SaveString(store, kSettingsKey, "Guard", "1"));
        env->context.mainOp.Init();
        const std::string keyFile = store.keyFile(kSettingsKey);
        test::ReadOnlyFolder readOnly(keyFile.substr(0, keyFile.rfind('/')));
        if (!readOnly.active()) QSKIP("this machine allows no read-only folder");
        addUsbDrives(2);
        std::vector<bool> pageShownWithBox;
        env->messages.whileShown = [&] { pageShownWithBox.push_back(page && page->isVisible()); };
        open();
        QCoreApplication::sendPostedEvents();
        QCOMPARE(pageShownWithBox, std::vector<bool>{true});
        QVERIFY(env->messages.shown[0].icon == MsgIcon::Error);
        QCOMPARE(control("ch_guard")->tag(), QString("1"));
        QCOMPARE(rowsShowing("usb_mini1"), 2);
        QCOMPARE(storedGuard(), std::string("1"));
        QCOMPARE(env->context.mainOp.isGuard, std::string("1"));
    }

    void noDrivesShowTheCaptionAndScrollingChangesNothing() {
        drivesToInstall = {{"/", DriveType::Fixed}, {"/media/cdrom", DriveType::CdRom}};
        open();
        QCOMPARE(rowTexts("txtdisk"), QStringList({"No removable drives found"}));
        QCOMPARE(rowTexts("txtdiskname"), QStringList({""}));
        test::click(control("btn_down"));
        test::click(control("btn_up"));
        QCOMPARE(rowTexts("txtdisk"), QStringList({"No removable drives found"}));
        QCOMPARE(env->helper.describedRoots.size(), size_t(0));  // fixed and optical: never asked
    }

    void sevenDrivesScrollOneEntryPerClickWithinRange() {
        addUsbDrives(7);
        open();
        QCOMPARE(rowTexts("txtdiskname"),
                 QStringList({"Stick 0", "Stick 1", "Stick 2", "Stick 3", "Stick 4"}));
        test::click(control("btn_down"));
        test::click(control("btn_down"));
        QCOMPARE(rowTexts("txtdisk"), QStringList({"/media/usb2", "/media/usb3", "/media/usb4",
                                                   "/media/usb5", "/media/usb6"}));
        test::click(control("btn_down"));
        QCOMPARE(page->panel().TopIndex(), 2);
        for (int click = 0; click < 4; ++click) test::click(control("btn_up"));
        QCOMPARE(page->panel().TopIndex(), 0);
        QCOMPARE(page->findChildren<SkinImage*>("imgdisk").size(), qsizetype(5));
        // Rows stand 600 twips (40 pixels) apart from row 0.
        QCOMPARE(page->findChildren<Caption*>("txtdisk").last()->y() -
                     page->findChildren<Caption*>("txtdisk").first()->y(),
                 4 * 40);
    }

    void driveChangesShowOnlyAfterTheNextRebuildAndRemovalKeepsRowsFull() {
        addUsbDrives(7);
        open();
        test::click(control("btn_down"));
        test::click(control("btn_down"));
        drives->drives.resize(5);  // two drives pulled out while the page is open
        QCOMPARE(rowTexts("txtdisk").size(), 5);
        test::click(control("btn_up"));
        QCOMPARE(page->panel().TopIndex(), 0);
        QCOMPARE(rowTexts("txtdisk"), QStringList({"/media/usb0", "/media/usb1", "/media/usb2",
                                                   "/media/usb3", "/media/usb4"}));
    }

    void longMountPointsAreElidedWithTheWholePathInTheToolTip() {
        const std::string root = "/media/somebody/" + std::string(80, 'L') + "/END";
        drivesToInstall = {{root, DriveType::Removable}};
        env->helper.drives.push_back({root, {1, "Stick"}});
        open();
        Caption* label = control<Caption>("txtdisk");
        QCOMPARE(label->toolTip(), QString::fromStdString(root));
        QVERIFY(label->text().contains(QChar(0x2026)));
        QVERIFY(label->text().endsWith("END"));
    }

    void theKeyboardSwitchesScrollsAndEscapeCloses() {
        addUsbDrives(7);
        open();
        test::activate(page);
        QCOMPARE(test::tabOrder(), QStringList({"ch_guard", "btn_up", "btn_down", "cmd_close"}));
        test::press(Qt::Key_Space);
        QCOMPARE(control("ch_guard")->tag(), QString("1"));
        QCOMPARE(storedGuard(), std::string("1"));
        test::press(Qt::Key_Tab);
        test::press(Qt::Key_Tab);
        test::press(Qt::Key_Return);
        QCOMPARE(page->panel().TopIndex(), 1);
        test::press(Qt::Key_Escape);
        QVERIFY(pages->main().isVisible());
        QVERIFY(pages->loaded(PageId::Protection) == nullptr);
    }

    void closeShowsTheMainWindowAndUnloadsThePage() {
        open();
        pages->main().hide();
        test::click(control("cmd_close"));
        QVERIFY(pages->main().isVisible());
        QVERIFY(pages->loaded(PageId::Protection) == nullptr);
    }
};

}  // namespace twk

TWK_PAGE_TEST_MAIN(twk::FrmGuardTest)
#include "frm_guard_test.moc"
