#include <QAccessible>
#include <QMessageBox>
#include <QTimer>

#include "pages/app/entry_box.h"
#include "pages/app/frm_main.h"
#include "pages/app/navigator.h"
#include "pages/app/page_registry.h"
#include "pages/app/qt_services.h"
#include "pages/options/frm_options.h"
#include "pages/reports/frm_report.h"
#include "pages/reports/frm_send_report.h"
#include "pages/support/page_fixture.h"

namespace twk {
namespace {

// What a control the user acts on is to a screen reader: a button unless listed here.
QAccessible::Role expectedRole(const QString& control) {
    static const std::pair<QAccessible::Role, QStringList> kRoles[] = {
        {QAccessible::CheckBox, {"ch_guard", "rep_ch", "ch_autorun", "rep_send"}},
        {QAccessible::RadioButton, {"ch_sh0", "ch_sh1", "ch_sh2"}},
        {QAccessible::PageTab, {"cmd_devices", "cmd_viruses", "cmd_general", "cmd_mail"}},
        {QAccessible::ComboBox, {"lstDates", "lng_cmb", "cmbDayW", "cmbDayM"}},
        {QAccessible::EditableText,
         {"txtRepDir", "txtQrntDir", "txtrec", "txtTime", "txtSender", "txtTheme", "txt_msg",
          "txtSearch"}},
        {QAccessible::Table, {"lstReport"}},
        {QAccessible::Link, {"txtMail", "txtHome"}},
    };
    for (const auto& [role, controls] : kRoles)
        if (controls.contains(control)) return role;
    return QAccessible::Button;
}

QAccessibleInterface* accessibleOf(QObject* control) {
    QAccessibleInterface* found = QAccessible::queryAccessibleInterface(control);
    if (!found) qFatal("%s has no accessible interface", qPrintable(control->objectName()));
    return found;
}

QAccessible::State stateOf(QObject* control) { return accessibleOf(control)->state(); }

// Whether the page draws a focus frame in band (page pixels) for its focused control: the band
// as drawn now differs from the band with the focus on the page itself.
bool focusFrameShows(QWidget* page, QRect band) {
    QWidget* focused = QApplication::focusWidget();
    const QImage withFocus = page->grab(band).toImage();
    page->setFocus();
    const QImage without = page->grab(band).toImage();
    focused->setFocus();
    return withFocus != without;
}

QRect placeOf(QWidget* page, const QWidget* control) {
    return QRect(control->mapTo(page, QPoint(0, 0)), control->size());
}

// Every label a reader meets says something, and none repeats the name of a button beside it (a
// label naming an entry box is that box's label).
void expectNoSilentOrRepeatedLabels(QAccessibleInterface* surface) {
    const QList<QAccessible::Role> buttons = {QAccessible::Button, QAccessible::CheckBox,
                                              QAccessible::RadioButton, QAccessible::PageTab,
                                              QAccessible::Link};
    QStringList controlNames;
    for (int index = 0; index < surface->childCount(); ++index) {
        QAccessibleInterface* child = surface->child(index);
        if (buttons.contains(child->role())) controlNames << child->text(QAccessible::Name);
    }
    for (int index = 0; index < surface->childCount(); ++index) {
        QAccessibleInterface* child = surface->child(index);
        const QString name = child->text(QAccessible::Name);
        const QString where =
            surface->text(QAccessible::Name) + ": " + child->object()->objectName();
        if (child->role() == QAccessible::StaticText) {
            QVERIFY2(!name.isEmpty(), qPrintable(where));
            QVERIFY2(!controlNames.contains(name), qPrintable(where));
        }
        if (child->role() == QAccessible::Client) expectNoSilentOrRepeatedLabels(child);
    }
}

}  // namespace

// Every page as a screen reader meets it.
class AccessibilityTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::PageEnvironment> env;
    std::unique_ptr<Navigator> pages;

    template <typename T = PictureButton>
    T* control(QWidget* page, const char* name) {
        T* found = page->findChild<T*>(name);
        if (!found) qFatal("missing control %s", name);
        return found;
    }
    // Every control of the page the keyboard can reach is named and has its role.
    void expectNamedWithTheirRoles(QWidget* page) {
        int checked = 0;
        for (QWidget* widget : page->findChildren<QWidget*>()) {
            const QString name = widget->objectName();
            if (!widget->isVisibleTo(page) || !(widget->focusPolicy() & Qt::TabFocus) ||
                name.isEmpty() || name.startsWith(QLatin1String("qt_")))
                continue;
            QAccessibleInterface* readOut = accessibleOf(widget);
            QVERIFY2(readOut->role() == expectedRole(name), qPrintable(name));
            QVERIFY2(!readOut->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(name));
            QVERIFY2(!readOut->state().invisible, qPrintable(name));
            ++checked;
        }
        QVERIFY(checked >= 3);
    }

private slots:
    void init() {
        env = std::make_unique<test::PageEnvironment>();
        env->addShippedLanguages();
        pages = std::make_unique<Navigator>(env->context, env->tray);
        registerPages(*pages);
        env->startUp();
        QVERIFY(pages->main().Form_Load());
        pages->showMain();
    }
    void cleanup() {
        pages.reset();
        env.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void everyControlOfEveryPageIsNamedWithItsRole() {
        expectNamedWithTheirRoles(&pages->main());
        QCOMPARE(accessibleOf(control(&pages->main(), "cmd_guard"))->text(QAccessible::Name),
                 QString("Protection"));
        QCOMPARE(accessibleOf(control(&pages->main(), "cmd_home"))->text(QAccessible::Name),
                 QString("Home page"));
        for (PageId id : {PageId::Protection, PageId::Reports, PageId::Info, PageId::Feedback})
            expectNamedWithTheirRoles(pages->open(id));
        auto* report = static_cast<frmReport*>(pages->open(PageId::Reports));
        report->openSendReport();
        expectNamedWithTheirRoles(report->sendReportDialog());
        auto* options = static_cast<frmOptions*>(pages->open(PageId::Options));
        expectNamedWithTheirRoles(options);
        QCOMPARE(accessibleOf(control<QWidget>(options, "txtRepDir"))->text(QAccessible::Name),
                 QString("Directory for reports:"));
        options->ShowMailTab();
        expectNamedWithTheirRoles(options);
    }

    // Readers announce each window as it opens: the main window and the pages as frames, the
    // send-report dialog as a dialog; pictures and frames of the artwork are not read out.
    void windowsAreFramesOrDialogsWithoutSilentLabels() {
        for (QWidget* window : {static_cast<QWidget*>(&pages->main()),
                                pages->open(PageId::Protection), pages->open(PageId::Info),
                                pages->open(PageId::Feedback), pages->open(PageId::Options)}) {
            QCOMPARE(accessibleOf(window)->role(), QAccessible::Window);
            expectNoSilentOrRepeatedLabels(accessibleOf(window));
        }
        auto* report = static_cast<frmReport*>(pages->open(PageId::Reports));
        QCOMPARE(accessibleOf(report)->role(), QAccessible::Window);
        expectNoSilentOrRepeatedLabels(accessibleOf(report));
        report->openSendReport();
        QCOMPARE(accessibleOf(report->sendReportDialog())->role(), QAccessible::Dialog);
        expectNoSilentOrRepeatedLabels(accessibleOf(report->sendReportDialog()));
    }

    // The focused control shows its frame as soon as its window opens, at start and on a page
    // the keyboard opened; the recipient box shows more than its caret.
    void aWindowShowsItsFocusFrameAtOnce() {
        frmMain& main = pages->main();
        test::activate(&main);
        QCOMPARE(test::focusedName(), QString("cmd_home"));
        const int margin = 5;
        QVERIFY(focusFrameShows(
            &main,
            placeOf(&main, control(&main, "cmd_home")).adjusted(-margin, -margin, margin, margin)));

        test::press(Qt::Key_Tab);
        test::press(Qt::Key_Return);  // the information button
        QWidget* info = pages->loaded(PageId::Info);
        test::activate(info);
        QCOMPARE(test::focusedName(), QString("txtMail"));
        QVERIFY(focusFrameShows(info, placeOf(info, control<QWidget>(info, "txtMail"))
                                          .adjusted(-margin, -margin, margin, margin)));

        auto* report = static_cast<frmReport*>(pages->open(PageId::Reports));
        report->openSendReport();
        QWidget* dialog = report->sendReportDialog();
        test::activate(dialog);
        QCOMPARE(test::focusedName(), QString("txtRepDir"));
        // Above the box's frame, clear of the caret.
        const QRect frame = placeOf(dialog, textFrameOf(control<QWidget>(dialog, "txtRepDir")));
        QVERIFY(focusFrameShows(dialog,
                                QRect(frame.left(), frame.top() - margin, frame.width(), margin)));
    }

    void checkBoxesRadioButtonsAndTabsReportTheirTagAsTheirState() {
        QWidget* options = pages->open(PageId::Options);
        PictureButton* saveReports = control(options, "rep_ch");
        QVERIFY(stateOf(saveReports).checkable && !stateOf(saveReports).checked);
        test::click(saveReports);
        QVERIFY(stateOf(saveReports).checked);
        test::click(control<Caption>(options, "rep_txt"));
        QVERIFY(!stateOf(saveReports).checked);

        QVERIFY(stateOf(control(options, "cmd_general")).selected);
        test::click(control(options, "cmd_mail"));
        QVERIFY(stateOf(control(options, "cmd_mail")).selected);
        QVERIFY(!stateOf(control(options, "cmd_general")).selected);
        test::click(control(options, "rep_send"));
        QVERIFY(stateOf(control(options, "ch_sh0")).checked);
        QVERIFY(!stateOf(control(options, "ch_sh1")).checked);
    }

    void aMessageBoxIsReadOutAsADialogWithItsText() {
        QtMessageBoxes boxes;
        QAccessible::Role role = QAccessible::NoRole;
        QString title, text;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box) return;
            QAccessibleInterface* readOut = accessibleOf(box);
            role = readOut->role();
            title = readOut->text(QAccessible::Name);
            for (int child = 0; child < readOut->childCount(); ++child)
                text += readOut->child(child)->text(QAccessible::Name);
            box->close();
        });
        boxes.show("Invalid recipient!", "Tarnwick", MsgIcon::Error, MsgButtons::Ok);
        QVERIFY(role == QAccessible::Dialog || role == QAccessible::AlertMessage);
        QCOMPARE(title, QString("Tarnwick"));
        QVERIFY2(text.contains("Invalid recipient!"), qPrintable(text));
    }
};

}  // namespace twk

TWK_PAGE_TEST_MAIN(twk::AccessibilityTest)
#include "accessibility_test.moc"
