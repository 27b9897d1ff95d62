#include "pages/options/frm_options.h"

#include <QComboBox>
#include <QLineEdit>

#include "core/app/maker.h"
#include "core/settings/regedit.h"
#include "pages/app/frm_main.h"
#include "pages/app/navigator.h"
#include "pages/app/page_registry.h"
#include "pages/support/page_fixture.h"
#include "support/read_only.h"
#include "support/smtp_server.h"

namespace twk {
namespace {

constexpr const char* kEnglish =
    "[frmOptions]\nlfo_menu1=General\nlfo_menu2=Mail\nlfo_lang=Language\n"
    "lfo_save_rep=Save reports\nlfo_dir_rep=Directory for reports:\n"
    "lfo_dir_quar=Directory for quarantine:\nlfo_strt_win=Start with Windows\n"
    "lfo_save_changes=Save changes\nlfo_send_rep=Send reports\nlfo_recip=Recipient\n"
    "lfo_shed=Schedule:\nlfo_ED=Every day\nlfo_EW=Every week\nlfo_EM=Every month\n"
    "lfo_time=Time\nlfo_week=Day of week\nlfo_month=Day of month\n"
    "lfo_weekname=Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday;\n"
    "[frmMain]\nlfm_protection=Protection\nlfm_reports=Reports\nlfm_options=Options\n";
constexpr const char* kGerman =
    "[frmOptions]\nlfo_menu1=Allgemein\nlfo_weekname=Mo;Di;Mi;\n"
    "[frmMain]\nlfm_protection=Schutz\nlfm_reports=Berichte\nlfm_options=Optionen\n";

}  // namespace

class FrmOptionsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::PageEnvironment> env;
    std::unique_ptr<LoadedHelperLibrary> realHelper;
    std::unique_ptr<AppContext> realContext;  // the environment's, with the real helper library
    std::unique_ptr<Navigator> pages;

    AppContext& app() { return realContext ? *realContext : env->context; }
    // Starts the program over context and opens the options page from the main window.
    void startPages(AppContext& context) {
        pages = std::make_unique<Navigator>(context, env->tray);
        registerPages(*pages);
        QVERIFY(pages->main().Form_Load());
        pages->showMain();
        open();
    }

    frmOptions* page() { return static_cast<frmOptions*>(pages->loaded(PageId::Options)); }
    template <typename T = PictureButton>
    T* control(const char* name) {
        T* found = page()->findChild<T*>(name);
        if (!found) qFatal("missing control %s", name);
        return found;
    }
    QLineEdit* box(const char* name) { return control<QLineEdit>(name); }
    QComboBox* list(const char* name) { return control<QComboBox>(name); }
    bool shows(const char* button, const char* holder) {
        return control(button)->showsPicture(holder);
    }
    QString tagOf(const char* name) { return control(name)->tag(); }
    ColorRef colourOf(const char* caption) { return control<Caption>(caption)->textColor(); }
    std::string stored(const char* name) {
        return Regedit::GetString(app().mainOp.root(), kSettingsKey, name);
    }
    void store(const std::vector<std::pair<std::string, std::string>>& values) {
        QVERIFY(Regedit::SaveStrings(app().mainOp.root(), kSettingsKey, values));
    }
    void open() {
        if (page()) pages->unload(PageId::Options);
        app().mainOp.Init();
        test::click(pages->main().findChild<PictureButton*>("cmd_options"));
        QVERIFY(page());
    }
    // The pointer over an empty spot of the panel, then over a plain label: both are background.
    void moveOverBackground() {
        QTest::mouseMove(page(), QPoint(620, 300));
        QTest::mouseMove(page(), control<QWidget>("lblshed")->mapTo(page(), QPoint(5, 5)));
    }
    void focus(QWidget* widget) {
        QFocusEvent focusIn(QEvent::FocusIn);
        QApplication::sendEvent(widget, &focusIn);
    }
    // The page as the active window: the keyboard goes to its focus.
    void activatePage() {
        page()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(page()));
    }
    // The lightness of the darkest pixel: the text's colour where a box shows text.
    static int darkestLightness(const QImage& image) {
        int darkest = 255;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                darkest = std::min(darkest, image.pixelColor(x, y).lightness());
        return darkest;
    }
    void typeTime(const char* digits) {
        box("txtTime")->clear();
        box("txtTime")->setCursorPosition(0);
        QTest::keyClicks(box("txtTime"), digits);
    }
    void turnOnSendReports(const char* recipient = "admin@example.org") {
        test::click(control("rep_send"));
        box("txtrec")->setText(recipient);
    }
    // Every control's look, to tell that a stopped save left the page as it was.
    // The page's named controls, wherever they sit.
    QList<QWidget*> controls() {
        QList<QWidget*> named;
        for (QWidget* widget : page()->findChildren<QWidget*>())
            if (!widget->objectName().isEmpty() && !widget->objectName().startsWith("qt_"))
                named << widget;
        return named;
    }
    bool shown(const char* name) { return control<QWidget>(name)->isVisibleTo(page()); }
    QRect placeOnPage(QWidget* widget) {
        return QRect(widget->mapTo(page(), QPoint(0, 0)), widget->size());
    }
    QStringList look() {
        QStringList seen;
        for (QWidget* widget : controls()) {
            QString entry = widget->objectName() + (widget->isEnabled() ? "+" : "-") +
                            (widget->isVisibleTo(page()) ? "v" : "h");
            if (auto* button = qobject_cast<PictureButton*>(widget))
                entry += button->tag() + QString::number(button->shownPicture());
            if (auto* edit = qobject_cast<QLineEdit*>(widget)) entry += edit->text();
            if (auto* combo = qobject_cast<QComboBox*>(widget)) entry += combo->currentText();
            seen << entry;
        }
        return seen;
    }
    void expectOneBox(const std::string& text, MsgIcon icon) {
        QCOMPARE(env->messages.shown.size(), size_t(1));
        QCOMPARE(env->messages.shown[0].text, text);
        QCOMPARE(env->messages.shown[0].title, std::string("Tarnwick"));
        QVERIFY(env->messages.shown[0].icon == icon);
    }
    // A save that stops: told, the page open and unchanged, nothing stored.
    void expectStoppedSave(const std::string& text) {
        const QStringList before = look();
        const std::string keyFile = test::readFile(app().mainOp.root().keyFile(kSettingsKey));
        env->messages.shown.clear();
        test::click(control("img_save"));
        expectOneBox(text, MsgIcon::Error);
        QVERIFY(page() && page()->isVisible());
        QCOMPARE(look(), before);
        QCOMPARE(test::readFile(app().mainOp.root().keyFile(kSettingsKey)), keyFile);
        QVERIFY(!pages->main().isVisible());
    }
    void expectSaved() {
        env->messages.shown.clear();
        test::click(control<Caption>("txtSave"));
        expectOneBox("Options is saved!", MsgIcon::Information);
        QVERIFY(!page());
        QVERIFY(pages->main().isVisible());
    }

private slots:
    void init() {
        env = std::make_unique<test::PageEnvironment>();
        env->addLanguage("English", kEnglish);
        env->addLanguage("Deutsch", kGerman);
        test::writeFile(env->program.file("languages/readme.txt"), "not a language");
        test::writeFile(env->program.file("languages/.Hidden.twl"), "[frmMain]\n");
        store({{"Recipient", "old@example.org"},
               {"Shedule", "2"},
               {"Time", "06:45"},
               {"EveryWeek", "3"},
               {"EveryMonth", "9"}});
        env->startUp();
        startPages(env->context);
    }
    void cleanup() {
        pages.reset();
        realContext.reset();
        realHelper.reset();
        env.reset();
    }

    void opensOnTheGeneralTabWithItsCaptionsAndDesignNames() {
        QVERIFY(page()->isVisible());
        QVERIFY(!pages->main().isVisible());
        QCOMPARE(page()->size(), QSize(640, 480));
        QCOMPARE(page()->windowTitle(), QString("Tarnwick"));
        QCOMPARE(tagOf("cmd_general"), QString("1"));
        QCOMPARE(tagOf("cmd_mail"), QString("0"));
        QVERIFY(shows("cmd_general", "cmd_general_1"));
        QVERIFY(shows("cmd_mail", "cmd_mail_0"));
        QCOMPARE(control<QLabel>("cmd_line")->x(), control("cmd_general")->x() - 32);
        QVERIFY(shown("cmd_line") && shown("lng_txt") && shown("txtRepDir"));
        QVERIFY(!shown("lblSend_rep") && !shown("txtrec"));
        const std::pair<const char*, const char*> captions[] = {
            {"lblGeneral", "General"},
            {"lblMail", "Mail"},
            {"rep_txt", "Save reports"},
            {"lblQrntDir", "Directory for quarantine:"},
            {"lbl_autorun", "Start with Windows"},
            {"txtSave", "Save changes"},
            {"lblshed", "Schedule:"},
            {"llbDayM", "Day of month"}};
        for (const auto& [name, text] : captions)
            QCOMPARE(control<Caption>(name)->text(), QString(text));
        for (const char* frame : {"b_frame0", "b_frame1", "b_frame3", "frame5"})
            QVERIFY(control<QLabel>(frame));
        QCOMPARE(control<Caption>("txtSave")->geometry().right() + 1, control("img_save")->x() - 8);
    }

    void storedOptionsFillTheControls() {
        QCOMPARE(list("lng_cmb")->currentText(), QString("English"));
        QStringList languages;
        for (int i = 0; i < list("lng_cmb")->count(); ++i)
            languages << list("lng_cmb")->itemText(i);
        QCOMPARE(languages, QStringList({"Deutsch", "English"}));
        QVERIFY(list("lng_cmb")->isEnabled() && list("lng_cmb")->isEditable());
        QCOMPARE(tagOf("rep_ch"), QString("0"));
        QVERIFY(!box("txtRepDir")->isEnabled() && !box("txtQrntDir")->isEnabled());
        QCOMPARE(box("txtRepDir")->text(), QString::fromStdString(env->program.file("reports")));
        QCOMPARE(list("cmbDayM")->count(), 30);
        QCOMPARE(list("cmbDayM")->itemText(29), QString("30"));
        QCOMPARE(list("cmbDayM")->currentText(), QString("1"));
        QCOMPARE(list("cmbDayW")->count(), 7);
        QCOMPARE(list("cmbDayW")->currentText(), QString("Monday"));
        QCOMPARE(box("txtTime")->displayText(), QString("23:59"));
        QCOMPARE(box("txtrec")->text(), QString("old@example.org"));
        QVERIFY(!box("txtrec")->isEnabled());
        QCOMPARE(tagOf("rep_send") + tagOf("ch_sh0") + tagOf("ch_sh1") + tagOf("ch_sh2"),
                 QString("0000"));

        store({{"Language", "Deutsch"},
               {"SaveReports", "1"},
               {"DirectoryReports", "/srv/rep"},
               {"StartWindows", "1"},
               {"SendReports", "1"},
               {"Shedule", "2"},
               {"EveryMonth", "14"},
               {"Recipient", ""}});
        open();
        QCOMPARE(list("lng_cmb")->currentText(), QString("Deutsch"));
        QCOMPARE(tagOf("rep_ch") + tagOf("ch_autorun") + tagOf("rep_send"), QString("111"));
        QVERIFY(shows("rep_ch", "ch_3") && shows("rep_send", "ch_2"));
        QVERIFY(box("txtRepDir")->isEnabled());
        QCOMPARE(box("txtRepDir")->text(), QString("/srv/rep"));
        QCOMPARE(tagOf("ch_sh2"), QString("1"));
        QVERIFY(shows("ch_sh2", "ch_s2"));
        QCOMPARE(list("cmbDayM")->currentText(), QString("15"));
        QVERIFY(list("cmbDayM")->isEnabled() && !list("cmbDayW")->isEnabled());
        QCOMPARE(box("txtrec")->text(), QString(maker::kPlaceholderRecipient));

        store({{"Shedule", "1"}, {"EveryWeek", "2"}});
        open();
        QCOMPARE(list("cmbDayW")->currentText(), QString("Wednesday"));
        store({{"Shedule", "0"}, {"Time", "07:30"}});
        open();
        QCOMPARE(box("txtTime")->displayText(), QString("07:30"));
        QVERIFY(box("txtTime")->isEnabled());
    }

    void checkBoxesFlipOnPictureAndCaption() {
        test::click(control("rep_ch"));
        QCOMPARE(tagOf("rep_ch"), QString("1"));
        QVERIFY(shows("rep_ch", "ch_3"));
        QVERIFY(box("txtRepDir")->isEnabled() && box("txtQrntDir")->isEnabled());
        test::click(control<Caption>("rep_txt"));
        QCOMPARE(tagOf("rep_ch"), QString("0"));
        QVERIFY(shows("rep_ch", "ch_1"));
        QVERIFY(!box("txtRepDir")->isEnabled());
        test::click(control<Caption>("lbl_autorun"));
        QCOMPARE(tagOf("ch_autorun"), QString("1"));
        QVERIFY(shows("ch_autorun", "ch_3"));
    }

    void theScheduleFollowsSendReports() {
        ShowMail();
        for (const char* radio : {"ch_sh0", "ch_sh1", "ch_sh2"}) {
            test::click(control(radio));
            test::hover(control(radio));
            QCOMPARE(tagOf(radio), QString("0"));
            QVERIFY(shows(radio, "ch_s0"));
        }
        QCOMPARE(colourOf("lblEW"), kDesignLabelColor);
        test::click(control<Caption>("lblSend_rep"));
        QVERIFY(shows("rep_send", "ch_2"));
        QCOMPARE(tagOf("ch_sh0"), QString("1"));
        QVERIFY(box("txtTime")->isEnabled() && box("txtrec")->isEnabled());
        test::click(control<Caption>("lblEM"));
        QCOMPARE(tagOf("ch_sh0") + tagOf("ch_sh1") + tagOf("ch_sh2"), QString("001"));
        QVERIFY(!box("txtTime")->isEnabled() && !list("cmbDayW")->isEnabled());
        QVERIFY(list("cmbDayM")->isEnabled());
        test::click(control("ch_sh1"));
        QVERIFY(list("cmbDayW")->isEnabled() && !list("cmbDayM")->isEnabled());
        test::click(control("rep_send"));
        QCOMPARE(tagOf("ch_sh0") + tagOf("ch_sh1") + tagOf("ch_sh2"), QString("000"));
        for (QWidget* input : std::initializer_list<QWidget*>{box("txtrec"), box("txtTime"),
                                                              list("cmbDayW"), list("cmbDayM")})
            QVERIFY2(!input->isEnabled(), qPrintable(input->objectName()));
    }

    void hoverLooksAndTheBackgroundResetsThem() {
        test::hover(control("rep_ch"));
        QVERIFY(shows("rep_ch", "ch_1"));
        QCOMPARE(colourOf("rep_txt"), env->context.HighlightColor);
        test::hover(control("cmd_mail"));
        QVERIFY(shows("cmd_mail", "cmd_mail_1"));
        QCOMPARE(colourOf("lblMail"), env->context.HighlightColor);
        test::hover(control<Caption>("txtSave"));
        QVERIFY(shows("img_save", "img_save_1"));
        test::hover(control("RepDirCh"));
        QVERIFY(shows("RepDirCh", "chDir_0"));  // inert while "Save reports" is off
        moveOverBackground();
        QVERIFY(shows("rep_ch", "ch_0"));
        QCOMPARE(colourOf("rep_txt"), env->context.NormalColor);
        QVERIFY(shows("cmd_mail", "cmd_mail_0"));
        QCOMPARE(colourOf("lblMail"), env->context.NormalColor);
        QVERIFY(shows("cmd_general", "cmd_general_1"));  // the selected tab stays lit
        QCOMPARE(colourOf("lblGeneral"), env->context.HighlightColor);
        QVERIFY(shows("img_save", "img_save_0"));
        QCOMPARE(colourOf("txtSave"), env->context.NormalColor);

        test::click(control("rep_ch"));
        test::hover(control("QrntDirCh"));
        QVERIFY(shows("QrntDirCh", "chDir_1"));
        moveOverBackground();
        QVERIFY(shows("QrntDirCh", "chDir_0"));
        QVERIFY(shows("rep_ch", "ch_2"));

        ShowMail();
        test::click(control("rep_send"));
        test::hover(control("ch_sh2"));
        QVERIFY(shows("ch_sh2", "ch_s1"));
        test::leave(control("ch_sh2"));
        QVERIFY(shows("ch_sh2", "ch_s0"));
        QCOMPARE(colourOf("lblEM"), env->context.NormalColor);
        test::hover(control<Caption>("lblED"));
        QVERIFY(shows("ch_sh0", "ch_s3"));
        moveOverBackground();
        QVERIFY(shows("ch_sh0", "ch_s2"));
    }

    void aLeftDragOnThePanelBackgroundMovesThePage() {
        const QPoint start = page()->pos();
        // The press goes through the window, so it lands on the panel first.
        QTest::mousePress(page()->windowHandle(), Qt::LeftButton, {}, QPoint(620, 300));
        const QPointF to(660, 330);
        QMouseEvent drag(QEvent::MouseMove, to, page()->mapToGlobal(to), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(page(), &drag);
        QTest::mouseRelease(page(), Qt::LeftButton, {}, to.toPoint());
        QCOMPARE(page()->pos(), start + QPoint(40, 30));
    }

    void folderButtonsBrowseOnlyWhileSavingReportsAndTheChoiceIsStored() {
        env->folders.answer = "/media/new-reports";
        test::click(control("RepDirCh"));
        QVERIFY(env->folders.titles.empty());
        test::click(control("rep_ch"));
        test::click(control("RepDirCh"));
        QCOMPARE(box("txtRepDir")->text(), QString("/media/new-reports"));
        env->folders.answer = "";
        const QString before = box("txtQrntDir")->text();
        test::click(control("QrntDirCh"));
        QCOMPARE(box("txtQrntDir")->text(), before);
        QCOMPARE(env->folders.titles,
                 (std::vector<std::string>{"Choose a directory for reports",
                                           "Choose a directory for quarantines files"}));
        box("txtQrntDir")->clear();  // an emptied box keeps its stored folder
        expectSaved();
        QCOMPARE(stored("DirectoryReports"), std::string("/media/new-reports"));
        QCOMPARE(stored("DirectoryQuarantine"), before.toStdString());
        QCOMPARE(stored("SaveReports"), std::string("1"));
    }

    void focusClearsOnlyThePlaceholderRecipient() {
        ShowMail();
        turnOnSendReports(maker::kPlaceholderRecipient);
        focus(box("txtrec"));
        QCOMPARE(box("txtrec")->text(), QString());
        box("txtrec")->setText("admin@example.org");
        focus(box("txtrec"));
        QCOMPARE(box("txtrec")->text(), QString("admin@example.org"));
    }

    void theTimeBoxKeepsHoursAndMinutesInRange() {
        ShowMail();
        test::click(control("rep_send"));
        QCOMPARE(box("txtTime")->inputMask(), QString("99:99;_"));
        // Typed over the full box from its start: 25 makes the value 23, then 7 and 5 the minutes.
        activatePage();
        QCOMPARE(box("txtTime")->displayText(), QString("23:59"));
        QTest::mouseClick(box("txtTime"), Qt::LeftButton, {},
                          QPoint(1, box("txtTime")->height() / 2));
        QCOMPARE(box("txtTime")->cursorPosition(), 0);
        QTest::keyClicks(nullptr, "2575");
        QCOMPARE(box("txtTime")->displayText(), QString("23:59"));
        typeTime("2575");
        QCOMPARE(box("txtTime")->displayText(), QString("23:59"));
        typeTime("1275");
        QCOMPARE(box("txtTime")->displayText(), QString("12:59"));
        typeTime("99");
        QCOMPARE(box("txtTime")->displayText(), QString("23:__"));
        typeTime("9");
        QCOMPARE(box("txtTime")->displayText(), QString("9_:__"));
        typeTime("123");
        QCOMPARE(box("txtTime")->displayText(), QString("12:3_"));
    }

    // Keys go where the user sees the caret: never into a parked panel or past a disabled box.
    void typingReachesNoBoxTheUserCannotUse() {
        activatePage();
        test::click(control("rep_ch"));
        const QString folder = box("txtRepDir")->text();
        test::click(box("txtRepDir"));
        QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_End);  // to the focused box
        QTest::keyClicks(nullptr, "/x");
        QCOMPARE(box("txtRepDir")->text(), folder + "/x");
        ShowMail();
        QTest::keyClicks(nullptr, "abc");
        QCOMPARE(box("txtRepDir")->text(), folder + "/x");
        QCOMPARE(box("txtrec")->text(), QString("old@example.org"));

        turnOnSendReports();
        test::click(control("ch_sh1"));  // every week: the time box is disabled
        test::click(box("txtrec"));
        test::click(box("txtTime"));
        QTest::keyClicks(nullptr, "12");
        QCOMPARE(box("txtrec")->text(), QString("admin@example.org"));
        QCOMPARE(box("txtTime")->displayText(), QString("23:59"));
        const QString language = list("lng_cmb")->currentText();
        test::click(box("txtrec"));
        test::click(control("cmd_general"));
        QTest::keyClicks(nullptr, "de");
        QCOMPARE(box("txtrec")->text(), QString("admin@example.org"));
        QCOMPARE(list("lng_cmb")->currentText(), language);
    }

    // Disabled boxes are paler with faded text, so nobody clicks them to type.
    void aDisabledBoxLooksDisabled() {
        QVERIFY(!box("txtRepDir")->isEnabled());
        const QImage disabled = box("txtRepDir")->grab().toImage();
        test::click(control("rep_ch"));
        QVERIFY(box("txtRepDir")->isEnabled());
        const QImage enabled = box("txtRepDir")->grab().toImage();
        const QPoint empty(enabled.width() - 3, enabled.height() / 2);
        QVERIFY(disabled.pixelColor(empty).lightness() > enabled.pixelColor(empty).lightness());
        QVERIFY(darkestLightness(disabled) > darkestLightness(enabled) + 50);
    }

    void switchingTabsShowsOnePanelAndNothingDrifts() {
        QMap<QString, QRect> places;
        for (QWidget* widget : controls()) places[widget->objectName()] = placeOnPage(widget);
        const int general = control<QLabel>("cmd_line")->x();
        for (int round = 0; round < 2; ++round) {
            ShowMail();
            ShowMail();
            QVERIFY(!shown("lng_txt") && !shown("b_frame0"));
            QVERIFY(shown("lblSend_rep") && shown("frame5"));
            QCOMPARE(tagOf("cmd_mail") + tagOf("cmd_general"), QString("10"));
            QCOMPARE(control<QLabel>("cmd_line")->x(), control("cmd_mail")->x() - 32);
            test::click(control<Caption>("lblGeneral"));
            test::click(control("cmd_general"));
            QVERIFY(shown("lng_txt") && !shown("cmbDayW"));
            QCOMPARE(control<QLabel>("cmd_line")->x(), general);
        }
        for (QWidget* widget : controls())
            if (widget->objectName() != "cmd_line")
                QCOMPARE(placeOnPage(widget), places[widget->objectName()]);
    }

    void theKeyboardWalksBothTabsAndEscapeClosesWithoutSaving() {
        test::activate(page());
        QCOMPARE(test::tabOrder(),
                 QStringList({"cmd_general", "cmd_mail", "lng_cmb", "rep_ch", "RepDirCh",
                              "QrntDirCh", "ch_autorun", "img_save", "cmd_close"}));
        for (int step = 0; step < 3; ++step) test::press(Qt::Key_Tab);
        test::press(Qt::Key_Space);
        QCOMPARE(tagOf("rep_ch"), QString("1"));
        test::press(Qt::Key_Tab);
        QCOMPARE(test::focusedName(), QString("txtRepDir"));  // enabled by the check box

        for (int step = 0; step < 3; ++step) test::press(Qt::Key_Backtab);
        QCOMPARE(test::focusedName(), QString("cmd_mail"));
        test::press(Qt::Key_Return);
        QCOMPARE(tagOf("cmd_mail"), QString("1"));
        QVERIFY(shown("rep_send") && !shown("rep_ch"));
        test::press(Qt::Key_Tab);
        test::press(Qt::Key_Space);
        QCOMPARE(tagOf("rep_send"), QString("1"));
        QCOMPARE(test::tabOrder(),
                 QStringList({"rep_send", "txtrec", "ch_sh0", "txtTime", "ch_sh1", "ch_sh2",
                              "img_save", "cmd_close", "cmd_general", "cmd_mail"}));
        for (int step = 0; step < 4; ++step) test::press(Qt::Key_Tab);
        test::press(Qt::Key_Space);
        QCOMPARE(tagOf("ch_sh0") + tagOf("ch_sh1") + tagOf("ch_sh2"), QString("010"));

        test::press(Qt::Key_Escape);
        QVERIFY(!page());
        QVERIFY(pages->main().isVisible());
        QCOMPARE(stored("SaveReports"), std::string());
    }

    void closeReturnsToTheMainWindowAndSavesNothing() {
        test::click(control("rep_ch"));
        list("lng_cmb")->setEditText("Deutsch");
        test::click(control("cmd_close"));
        QVERIFY(!page());
        QVERIFY(pages->main().isVisible());
        QCOMPARE(stored("Language"), std::string());
        QCOMPARE(stored("SaveReports"), std::string());
        QVERIFY(env->messages.shown.empty());
    }

    void storedBytesThatAreNoTextSurviveAnUnchangedSave() {
        const std::string reports = "/srv/rapports-\xE9t\xE9", quarantine = "/srv/quarant\xE4ne";
        store({{"SaveReports", "1"},
               {"DirectoryReports", reports},
               {"DirectoryQuarantine", quarantine}});
        open();
        expectSaved();
        QCOMPARE(stored("DirectoryReports"), reports);
        QCOMPARE(stored("DirectoryQuarantine"), quarantine);
    }

    void wrongInputStopsTheSaveAndLeavesThePageAsItWas() {
        ShowMail();
        turnOnSendReports(maker::kPlaceholderRecipient);
        expectStoppedSave("E-mail is wrong!");
        QVERIFY(env->helper.sent.empty());
        QCOMPARE(env->context.mainOp.isSendRep, std::string("1"));  // kept in memory only

        box("txtrec")->setText("new@example.org");
        env->helper.mailResult = 1;
        expectStoppedSave("The e-mail is wrong! Check the data!");
        QCOMPARE(env->helper.sent.size(), size_t(1));
        QCOMPARE(env->helper.sent[0].recipient, std::string("new@example.org"));
        QCOMPARE(env->helper.sent[0].subject, std::string("Test message from Tarnwick program"));
        QCOMPARE(env->helper.sent[0].body, std::string("It's test message from Tarnwick"));
        QCOMPARE(env->helper.sent[0].attachment, std::string());

        env->helper.mailResult = 0;
        typeTime("123");
        expectStoppedSave("Time is wrong!");
        QCOMPARE(env->context.mainOp.Recip, std::string("new@example.org"));
    }

    void savingTheScheduleStoresTheTimeOrTheDay() {
        ShowMail();
        turnOnSendReports();
        typeTime("0730");
        expectSaved();
        QCOMPARE(stored("Time"), std::string("07:30"));
        QCOMPARE(stored("Shedule"), std::string("0"));
        QCOMPARE(stored("Recipient"), std::string("admin@example.org"));
        QCOMPARE(env->helper.sent.size(), size_t(1));

        open();
        ShowMail();
        test::click(control("ch_sh1"));
        list("cmbDayW")->setCurrentIndex(2);
        expectSaved();
        QCOMPARE(stored("EveryWeek"), std::string("2"));
        QCOMPARE(stored("Shedule"), std::string("1"));
        open();
        QCOMPARE(list("cmbDayW")->currentText(), QString("Wednesday"));

        ShowMail();
        test::click(control("ch_sh2"));
        list("cmbDayM")->setCurrentIndex(list("cmbDayM")->findText("15"));
        expectSaved();
        QCOMPARE(stored("EveryMonth"), std::string("14"));
        QCOMPARE(stored("Shedule"), std::string("2"));

        open();
        ShowMail();
        list("cmbDayM")->setEditText("31");  // typed text that names no day
        expectSaved();
        QCOMPARE(stored("EveryMonth"), std::string("-1"));
    }

    // As after a cancelled authentication: the page stays, showing the stored state again.
    void aStoreWithoutWriteAccessIsToldAndThePageShowsTheStoredState() {
        const std::string keyFile = env->context.mainOp.root().keyFile(kSettingsKey);
        test::ReadOnlyFolder readOnly(keyFile.substr(0, keyFile.rfind('/')));
        if (!readOnly.active()) QSKIP("this machine allows no read-only folder");
        const QStringList storedLook = look();
        list("lng_cmb")->setEditText("Deutsch");
        test::click(control("ch_autorun"));
        QVERIFY(look() != storedLook);
        test::click(control("img_save"));
        expectOneBox("The options could not be saved. Check that you may change the settings.",
                     MsgIcon::Error);
        QVERIFY(page() && page()->isVisible());
        QCOMPARE(look(), storedLook);
        QCOMPARE(app().mainOp.lang, std::string("English"));
        QCOMPARE(pages->main().findChild<Caption*>("txtguard")->text(), QString("Protection"));
    }

    void aNewLanguageReachesTheMainWindowAtOnce() {
        list("lng_cmb")->setEditText("Deutsch");
        expectSaved();
        QCOMPARE(stored("Language"), std::string("Deutsch"));
        QCOMPARE(env->context.langOp.lfm_protection, std::string("Schutz"));
        QCOMPARE(pages->main().findChild<Caption*>("txtguard")->text(), QString("Schutz"));
        QCOMPARE(pages->main().findChild<Caption*>("txtOptions")->text(), QString("Optionen"));
        QCOMPARE(env->tray.shown, true);
        open();
        QCOMPARE(control<Caption>("lblGeneral")->text(), QString("Allgemein"));
        QCOMPARE(list("cmbDayW")->count(), 3);
    }

    void theTestMessageGoesThroughTheRealHelperLibraryToAMailServer() {
        test::SmtpServer server;
        QVERIFY2(server.running(), server.error().c_str());
        test::TempDir mailConfig;
        test::HelperMailConfig config(mailConfig.path(), server.url());
        pages.reset();  // lets the program start again over the real library
        realHelper = std::make_unique<LoadedHelperLibrary>(TWK_TEST_HELPER_DIR);
        const Services& scripted = env->context.services;
        realContext = std::make_unique<AppContext>(
            env->context.roots, env->context.programFolder, env->context.userFolder,
            env->context.settingsFolder,
            Services{scripted.messages, scripted.saveFile, scripted.folders, scripted.urls,
                     *realHelper, scripted.clock});
        realContext->updateUrl.clear();
        realContext->adminToken = env->context.adminToken;
        startUp(*realContext);
        startPages(*realContext);

        ShowMail();
        turnOnSendReports("refuse@customer.example");  // the server answers 550
        expectStoppedSave("The e-mail is wrong! Check the data!");
        QVERIFY(server.messages().empty());

        box("txtrec")->setText("admin@customer.example");
        expectSaved();
        const std::vector<test::ReceivedMail> mails = server.messages();
        QCOMPARE(mails.size(), size_t(1));
        QCOMPARE(mails[0].recipients, std::vector<std::string>{"admin@customer.example"});
        QCOMPARE(mails[0].subject, std::string("Test message from Tarnwick program"));
        QCOMPARE(mails[0].body, std::string("It's test message from Tarnwick"));
        QVERIFY(mails[0].attachments.empty());
        QCOMPARE(stored("Recipient"), std::string("admin@customer.example"));
        QCOMPARE(stored("SendReports"), std::string("1"));
    }

private:
    void ShowMail() { test::click(control("cmd_mail")); }
};

}  // namespace twk

TWK_PAGE_TEST_MAIN(twk::FrmOptionsTest)
#include "frm_options_test.moc"
