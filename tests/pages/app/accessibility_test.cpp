#include <QAccessible>
#include <QMessageBox>
#include <QTimer>
#include <map>

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

// What each control the user acts on is to a screen reader.
const std::map<QString, QAccessible::Role> kRoles = {
    {"cmd_home", QAccessible::Button},
    {"cmd_info", QAccessible::Button},
    {"cmd_guard", QAccessible::Button},
    {"cmd_report", QAccessible::Button},
    {"cmd_options", QAccessible::Button},
    {"cmd_close", QAccessible::Button},
    {"ch_guard", QAccessible::CheckBox},
    {"btn_up", QAccessible::Button},
    {"btn_down", QAccessible::Button},
    {"cmd_devices", QAccessible::PageTab},
    {"cmd_viruses", QAccessible::PageTab},
    {"lstDates", QAccessible::ComboBox},
    {"lstReport", QAccessible::Table},
    {"txtSave", QAccessible::Button},
    {"txtSend", QAccessible::Button},
    {"txtRepDir", QAccessible::EditableText},
    {"cmd_general", QAccessible::PageTab},
    {"cmd_mail", QAccessible::PageTab},
    {"lng_cmb", QAccessible::ComboBox},
    {"rep_ch", QAccessible::CheckBox},
    {"txtQrntDir", QAccessible::EditableText},
    {"RepDirCh", QAccessible::Button},
    {"QrntDirCh", QAccessible::Button},
    {"ch_autorun", QAccessible::CheckBox},
    {"img_save", QAccessible::Button},
    {"rep_send", QAccessible::CheckBox},
    {"txtrec", QAccessible::EditableText},
    {"ch_sh0", QAccessible::RadioButton},
    {"ch_sh1", QAccessible::RadioButton},
    {"ch_sh2", QAccessible::RadioButton},
    {"txtTime", QAccessible::EditableText},
    {"cmbDayW", QAccessible::ComboBox},
    {"cmbDayM", QAccessible::ComboBox},
    {"txtMail", QAccessible::Link},
    {"txtHome", QAccessible::Link},
    {"cmd_facebook", QAccessible::Button},
    {"cmd_twitter", QAccessible::Button},
    {"txtOk", QAccessible::Button},
    {"txtSender", QAccessible::EditableText},
    {"txtTheme", QAccessible::EditableText},
    {"txt_msg", QAccessible::EditableText},
    {"lbl_send", QAccessible::Button},
};

QAccessibleInterface* accessibleOf(QObject* control) {
    QAccessibleInterface* found = QAccessible::queryAccessibleInterface(control);
    if (!found) qFatal("%s has no accessible interface", qPrintable(control->objectName()));
    return found;
}

QAccessible::State stateOf(QObject* control) { return accessibleOf(control)->state(); }

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
            QVERIFY2(kRoles.count(name), qPrintable(name + " is not known to this test"));
            QVERIFY2(readOut->role() == kRoles.at(name), qPrintable(name));
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
