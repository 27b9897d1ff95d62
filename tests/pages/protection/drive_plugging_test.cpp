// The protection page while sticks are mounted, unmounted and pulled out: real mounts in the
// test's own mount namespace, read through the machine's mount table, over a fake sysfs and /dev.
#include "pages/app/navigator.h"
#include "pages/protection/frm_guard.h"
#include "pages/support/page_fixture.h"
#include "support/fake_machine.h"
#include "support/own_mounts.h"

namespace twk {
namespace {

// Why the process has no mounts of its own; empty when it has.
std::string ownMountsRefused;

// The page follows within a second; this only bounds the wait on a loaded machine.
constexpr int kPatienceMs = 15000;

}  // namespace

class DrivePluggingTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::PageEnvironment> env;
    std::unique_ptr<test::FakeMachine> machine;
    std::unique_ptr<test::TempDir> media;
    std::unique_ptr<Navigator> pages;
    std::vector<std::string> mounted;
    frmGuard* page = nullptr;

    // The stick's partition mounted at media/label, as a desktop mounts it on plugging; the
    // helper library calls it "label stick".
    std::string plug(const std::string& disk, const std::string& label) {
        machine->addUsbStick(disk);
        const std::string root = media->path() + "/" + label;
        env->helper.drives.push_back({root, {1, label + " stick"}});
        if (!test::mountAs("/dev/" + disk + "1", root)) qFatal("could not mount %s", root.c_str());
        mounted.push_back(root);
        return root;
    }
    void unmount(const std::string& label) {
        const std::string root = media->path() + "/" + label;
        if (!test::unmount(root)) qFatal("could not unmount %s", root.c_str());
        mounted.erase(std::find(mounted.begin(), mounted.end(), root));
    }
    void open() {
        platform::Roots roots = machine->roots();
        roots.procDir = "/proc";  // the mount table this process really has
        pages->registerPage(PageId::Protection, [roots](Navigator& navigator) {
            return new frmGuard(navigator.context(), navigator,
                                std::make_unique<MachineDriveSource>(roots));
        });
        page = static_cast<frmGuard*>(pages->open(PageId::Protection));
    }
    QStringList names() { return test::rowCaptions(page, "txtdiskname"); }
    QStringList roots() { return test::rowCaptions(page, "txtdisk"); }
    QStringList sticks(std::initializer_list<const char*> labels) {
        QStringList shown;
        for (const char* label : labels) shown << QString("%1 stick").arg(label);
        return shown;
    }
    void scrollDown() { test::click(page->findChild<PictureButton*>("btn_down")); }

private slots:
    void initTestCase() {
        if (!ownMountsRefused.empty()) QSKIP(ownMountsRefused.c_str());
    }
    void init() {
        env = std::make_unique<test::PageEnvironment>();
        env->addLanguage("English", "[frmGuard]\nlfg_notdevices=No removable drives found\n");
        env->startUp();
        machine = std::make_unique<test::FakeMachine>();
        media = std::make_unique<test::TempDir>();
        pages = std::make_unique<Navigator>(env->context, env->tray);
    }
    void cleanup() {
        pages.reset();
        for (const std::string& root : mounted) test::unmount(root);
        mounted.clear();
        media.reset();
        machine.reset();
        env.reset();
    }

    void aStickMountedWhileThePageIsOpenAppearsAndLeavesWhenUnmounted() {
        open();
        QCOMPARE(roots(), QStringList({"No removable drives found"}));
        const std::string root = plug("sdw", "BACKUP");
        QTRY_COMPARE_WITH_TIMEOUT(names(), sticks({"BACKUP"}), kPatienceMs);
        QCOMPARE(roots(), QStringList({QString::fromStdString(root)}));
        unmount("BACKUP");
        QTRY_COMPARE_WITH_TIMEOUT(roots(), QStringList({"No removable drives found"}), kPatienceMs);
        QCOMPARE(names(), QStringList({""}));
    }

    void theListFollowsFiveAtATimeKeepingTheDriveOnTheFirstRow() {
        open();
        // A hub of seven sticks mounted at once comes as one rebuild.
        const char* disks[] = {"sdm", "sdn", "sdo", "sdp", "sdq", "sdr", "sds"};
        for (int i = 0; i < 7; ++i) plug(disks[i], "S" + std::to_string(i + 1));
        QTRY_COMPARE_WITH_TIMEOUT(names(), sticks({"S1", "S2", "S3", "S4", "S5"}), kPatienceMs);
        QCOMPARE(env->helper.describedRoots.size(), size_t(7));

        scrollDown();
        scrollDown();
        QCOMPARE(names(), sticks({"S3", "S4", "S5", "S6", "S7"}));
        // A stick listed before every other one leaves the user's place as it was.
        plug("sdl", "A0");
        QTRY_COMPARE_WITH_TIMEOUT(page->panel().drives().size(), size_t(8), kPatienceMs);
        QCOMPARE(names(), sticks({"S3", "S4", "S5", "S6", "S7"}));
        QCOMPARE(page->panel().TopIndex(), 3);
        scrollDown();
        QCOMPARE(page->panel().TopIndex(), 3);

        // The first row's stick and the last two go: the rows fill up from further up.
        for (const char* label : {"S3", "S6", "S7"}) unmount(label);
        QTRY_COMPARE_WITH_TIMEOUT(names(), sticks({"A0", "S1", "S2", "S4", "S5"}), kPatienceMs);
        QCOMPARE(page->findChildren<SkinImage*>("imgdisk").size(), qsizetype(5));
    }

    void aStickPulledOutWithoutBeingUnmountedLeavesOnTheKernelsWord() {
        open();
        plug("sdw", "CAMERA");
        QTRY_COMPARE_WITH_TIMEOUT(names(), sticks({"CAMERA"}), kPatienceMs);
        // Its mount stays in the table: only the device's going can take it off the list.
        machine->pullOut("sdw");
        if (!test::announceBlockDeviceChange())
            QSKIP("only root may have the kernel announce a block device's change");
        QTRY_COMPARE_WITH_TIMEOUT(roots(), QStringList({"No removable drives found"}), kPatienceMs);
    }
};

}  // namespace twk

int main(int argc, char** argv) {
    // Before Qt starts any thread: a user namespace takes a process that has only one.
    twk::ownMountsRefused = twk::test::enterOwnMountNamespace();
    twk::test::chooseOffscreenWithoutDisplay();
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    twk::DrivePluggingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "drive_plugging_test.moc"
