#include "app/forms.h"

#include "app/print_dialog.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QElapsedTimer>
#include <QIcon>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

#include "velmora_version.h"

#include "app/about_box.h"
#include "app/archive_page.h"
#include "app/bands_dialog.h"
#include "app/diagram_page.h"
#include "app/diagram_view.h"
#include "app/file_dialogs.h"
#include "app/file_commands.h"
#include "app/import_dialog.h"
#include "app/qt_text.h"
#include "app/input_page.h"
#include "app/label_designer.h"
#include "app/label_item_setup.h"
#include "app/label_print_dialog.h"
#include "app/manual_page.h"
#include "app/progress_window.h"
#include "app/report_page.h"
#include "app/project_details_dialog.h"
#include "app/settings_dialog.h"
#include "engine/auto_run.h"

namespace app {

Forms createForms(const StartupOptions& options)
{
    Forms f;
    f.main = std::make_unique<TMainForm>(options);
    if (!f.main->startError().isEmpty())
        return f;
    f.settings = new TFSettings(f.main.get());
    f.about = new TAboutBox(f.main.get());
    f.bands = new TBands(f.main.get());
    f.main->setDialogs(f.settings, f.about, f.bands);
    f.importDialog = new TImportExcel(f.main.get());
    f.main->setImportDialog(f.importDialog);
    f.details = new TPrProp(f.main.get());
    f.main->setDetailsDialog(f.details);
    f.printOptions = new TPrnEx(f.main.get());
    f.main->setPrintOptions(f.printOptions);
    f.labelDesigner = new TcstLabel(f.main.get());
    f.labelPrint = new TfrmLabelPrint(f.main.get());
    f.labelItemSetup = new TfrmLabelItemSetup(f.main.get());
    f.main->setLabelDialogs(f.labelDesigner, f.labelPrint, f.labelItemSetup);
    return f;
}

namespace {

// Runs the automatic command on the open project and saves the progress
// window on its way and the report page and the input page after it.
// The manual page after one search of the first sheet with Alpha 0.01, the
// finished notice hidden, in the small window and maximised; then the mode
// is left.
void shootManualPage(TMainForm& main, const QString& folder)
{
    ManualPage* page = main.pag2;
    page->Button1Click();
    if (!page->active())
        return;
    page->Edit13->setText("0.01");
    page->BitBtn5Click();
    page->waitForSearch();
    page->Panel3Click();
    main.setWindowState(Qt::WindowNoState);
    main.resize(795, 590);
    QApplication::processEvents();
    main.grab().save(folder + "/manual.png");
    main.setGeometry(main.screen()->availableGeometry());
    main.setWindowState(Qt::WindowMaximized);
    QApplication::processEvents();
    main.grab().save(folder + "/manual_screen.png");
    main.setWindowState(Qt::WindowNoState);
    main.resize(795, 590);
    page->PrekiniClick();
}

void shootAutomaticRun(TMainForm& main, const QString& folder)
{
    const engine::Project& project = main.project();
    if (project.sheetRowCount() == 0 || project.partRowCount() == 0)
        return;
    bool shot = false;
    TwndProgress* progress = main.progressWindow();
    const QMetaObject::Connection c = QObject::connect(progress, &TwndProgress::barChanged, &main, [&](int value) {
        if (shot || value < 40)
            return;
        shot = true;
        progress->grab().save(folder + "/progress.png");
        if (QScreen* screen = progress->screen())
            screen->grabWindow(0).save(folder + "/progress_screen.png");
    });
    main.Button4Click();
    QObject::disconnect(c);
    main.PageControl1->setCurrentWidget(main.pag4);
    QApplication::processEvents();
    main.grab().save(folder + "/report.png");
    main.PageControl1->setCurrentWidget(main.pag1);
    QApplication::processEvents();
    main.grab().save(folder + "/input_result.png");
}

// Opens a modal window with `open` and saves its picture once it is up,
// then closes it unanswered.
void shootModal(const QString& file, const std::function<void()>& open)
{
    QTimer::singleShot(0, [file] {
        QApplication::processEvents();
        if (QWidget* w = QApplication::activeModalWidget()) {
            w->grab().save(file);
            if (auto* d = qobject_cast<QDialog*>(w))
                d->reject();
        }
    });
    open();
}

// The question about unsaved changes, an open dialog and the page set-up.
void shootQuestionsAndDialogs(TMainForm& main, const QString& folder)
{
    shootModal(folder + "/save_changes_question.png", [&main] {
        main.showMessage(engine::Msg{406}, Messenger::Kind::Confirmation, Messenger::Buttons::SaveDiscardCancel);
    });
    shootModal(folder + "/open_dialog.png", [&main] {
        FileDialogRequest request;
        request.title = main.text(167);
        request.filter = "Velmora (*.vlp *.VLP)";
        request.folder = qs(main.fileCommands().dialogStartFolder());
        (void)FileDialogs::current().choose(&main, request);
    });
    shootModal(folder + "/page_setup.png", [&main] { main.PrinterSetup1Click(); });
}

// Saves the main window and the dialogs as pictures, at the design size and
// at the size of the screen, then quits.
void takeScreenshots(Forms& f, const QString& folder)
{
    QDir().mkpath(folder);
    const auto shoot = [&](const QString& suffix) {
        QApplication::processEvents();
        f.main->grab().save(folder + "/input_" + suffix + ".png");
        f.settings->activate();
        f.settings->show();
        QApplication::processEvents();
        QTabWidget* tabs = f.settings->PageControl1;
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QApplication::processEvents();
            f.settings->grab().save(folder + QString("/settings%1_").arg(i + 1) + suffix + ".png");
        }
        tabs->setCurrentIndex(0);
        f.settings->hide();
        f.bands->show();
        QApplication::processEvents();
        f.bands->grab().save(folder + "/bands_" + suffix + ".png");
        f.bands->hide();
        f.details->show();
        QApplication::processEvents();
        f.details->grab().save(folder + "/details_" + suffix + ".png");
        f.details->hide();
        // The import dialog drawn without showing it: showing it would load
        // the remembered workbooks and could stop at a message.
        f.importDialog->grab().save(folder + "/import_" + suffix + ".png");
        f.about->show();
        QApplication::processEvents();
        f.about->grab().save(folder + "/about_" + suffix + ".png");
        f.about->hide();
        const std::pair<QDialog*, const char*> labelDialogs[] = {
            {f.labelPrint, "labels_print"}, {f.labelDesigner, "labels_designer"}, {f.labelItemSetup, "labels_items"}};
        for (const auto& [dialog, name] : labelDialogs) {
            dialog->show();
            QApplication::processEvents();
            dialog->grab().save(folder + "/" + name + "_" + suffix + ".png");
            dialog->hide();
        }
        for (QWidget* page : {static_cast<QWidget*>(f.main->pag4), static_cast<QWidget*>(f.main->Arhiva)}) {
            f.main->PageControl1->setCurrentWidget(page);
            QApplication::processEvents();
            f.main->grab().save(folder + "/" + page->objectName() + "_" + suffix + ".png");
        }
        f.main->PageControl1->setCurrentIndex(0);
        if (f.main->resultPageVisible()) {
            // The layout page with the pointer a third of the way into the drawing.
            f.main->PageControl1->setCurrentWidget(f.main->pag3);
            QApplication::processEvents();
            QWidget* image = f.main->pag3->Image5;
            const QPointF at(image->width() / 3.0, image->height() / 3.0);
            QMouseEvent move(QEvent::MouseMove, at, image->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                             Qt::NoModifier);
            QApplication::sendEvent(image, &move);
            QApplication::processEvents();
            f.main->grab().save(folder + "/diagram_" + suffix + ".png");
            f.main->PageControl1->setCurrentIndex(0);
        }
    };
    // A project named on the command line is optimised first, so that its
    // layouts can be shown (only a complete result: message 20 would wait
    // for a person).
    engine::Project& project = f.main->project();
    if (project.sheetRowCount() > 0 && project.partRowCount() > 0 && project.result.elements.empty())
        (void)engine::runAutomatic(project, f.main->settings());
    if (!project.result.elements.empty()
        && static_cast<std::int64_t>(project.result.elements.size()) >= project.input.totalParts) {
        f.main->firstDiagramGroup();
        f.main->ShowResults();
    }
    f.main->setWindowState(Qt::WindowNoState);
    f.main->resize(795, 590);
    shoot("795x590");
    f.main->setGeometry(f.main->screen()->availableGeometry());
    f.main->setWindowState(Qt::WindowMaximized);
    shoot("maximised");
    f.main->setWindowState(Qt::WindowNoState);
    f.main->resize(795, 590);
    shootAutomaticRun(*f.main, folder);
    shootQuestionsAndDialogs(*f.main, folder);
    shootManualPage(*f.main, folder);
}

} // namespace

namespace {

constexpr const char* kUsage =
    "usage: velmora [options] [FILE]\n"
    "\n"
    "  FILE               the project to open (.vlp, .xml, .qln or an old text project)\n"
    "  --version          print the version and quit\n"
    "  --help             print this help and quit\n"
    "  --start-time       show the main window, print the time it took to start and quit\n"
    "  --screenshot DIR   take pictures of the main window and its pages into DIR and quit\n"
    "\n"
    "The standard options of Qt programs (-platform NAME, -style NAME, ...) are accepted too.\n"
    "Environment: VELMORA_HOME (the program folder), VELMORA_SETTINGS (the settings file).\n"
    "See velmora(1).\n";

// --version and --help answer without a screen. A text that cannot be
// written is a failure (exit 2).
std::optional<int> answerWithoutScreen(int argc, char** argv)
{
    const char* text = nullptr;
    std::string version;
    for (int i = 1; i < argc && !text; ++i) {
        const std::string_view a = argv[i];
        if (a == "--version") {
            version = std::string("velmora ") + velmora::kVersion + "\n";
            text = version.c_str();
        } else if (a == "--help" || a == "-h") {
            text = kUsage;
        }
    }
    if (!text)
        return std::nullopt;
    if (std::fputs(text, stdout) < 0 || std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "velmora: standard output cannot be written\n");
        return 2;
    }
    return 0;
}

} // namespace

int runProgram(int argc, char** argv)
{
    if (const std::optional<int> answered = answerWithoutScreen(argc, argv))
        return *answered;
    QElapsedTimer clock;
    clock.start();
    QApplication application(argc, argv);
    QApplication::setApplicationName("Velmora");
    QApplication::setApplicationVersion(velmora::kVersion);
    // The desktop entry velmora.desktop names the program's windows and icon.
    QApplication::setDesktopFileName("velmora");
    QApplication::setWindowIcon(QIcon(":/icons/velmora.svg"));
    QStringList args = QApplication::arguments().mid(1);
    QString screenshots;
    bool reportStart = false;
    if (const qsizetype i = args.indexOf("--screenshot"); i >= 0 && i + 1 < args.size()) {
        screenshots = args[i + 1];
        args.remove(i, 2);
    }
    if (const qsizetype i = args.indexOf("--start-time"); i >= 0) {
        reportStart = true;
        args.remove(i);
    }

    Forms forms = createForms(defaultStartupOptions(args));
    if (!forms.main->startError().isEmpty()) {
        QMessageBox::critical(nullptr, "Velmora", forms.main->startError());
        return 1;
    }
    forms.main->show();
    if (!screenshots.isEmpty()) {
        QTimer::singleShot(0, forms.main.get(), [&] {
            takeScreenshots(forms, screenshots);
            QApplication::exit(0);
        });
    }
    if (reportStart) {
        // Time until the window has been shown and painted once.
        QTimer::singleShot(0, forms.main.get(), [&] {
            std::printf("started in %lld ms\n", static_cast<long long>(clock.elapsed()));
            std::fflush(stdout);
            QApplication::exit(0);
        });
    }
    return QApplication::exec();
}

} // namespace app
