#include "ui/main/main_window.h"

#include "core/operation_log.h"
#include "ui/controls/drive_list_box.h"
#include "ui/controls/file_list_box.h"
#include "ui/controls/folder_list_box.h"
#include "ui/controls/panel_status_bar.h"
#include "ui/controls/program_icon.h"
#include "ui/controls/twips.h"
#include "ui/main/main_window_target_folder.h"
#include "ui/main/result_list_model.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>
#include <algorithm>
#include <utility>

namespace ui {

namespace {

template <class W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

void place(QWidget* w, double left, double top, double width, double height) {
    w->setGeometry(twipsRect(left, top, width, height, w->window()));
}

void place(QWidget* w, const TwipsRect& r) {
    place(w, r.left, r.top, r.width, r.height);
}

QMenu* addMenu(QMenuBar* bar, const QString& title, const char* name) {
    QMenu* menu = bar->addMenu(title);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

} // namespace

MainWindow::MainWindow(platform::Platform& fs, Prompts& prompts, QWidget* parent)
    : QMainWindow(parent), m_fs(fs), m_prompts(prompts),
      m_log(std::make_unique<core::OperationLog>(fs)), m_layout(designLayout()) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("Tilgomat"));
    setWindowIcon(programIcon());
    createControls();
    createCommands();
    resize(toPixels(design::clientWidth, this),
           toPixels(design::clientHeight, this) + menuBar()->sizeHint().height());
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    showStartState();
}

const core::EntryList& MainWindow::resultEntries() const {
    return m_resultModel->entries();
}

void MainWindow::createControls() {
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    setCentralWidget(m_client);
    QWidget* c = m_client;

    // Created in the window's fixed order.
    m_statusBar = named(new PanelStatusBar(c), "statusBar");
    m_statusBar->setSizeGripEnabled(false);
    m_statusBar->addPanel({1440, 1440, false, QStringLiteral("Anzahl der gefundenen Dateien")});
    m_statusBar->addPanel({1440, 1440, false, QStringLiteral("Anzahl der Ordnereinträge")});
    m_statusBar->addPanel(
        {2445, 2440, true, QStringLiteral("Programmversion, oder der Zielordner beim Kopieren")});
    createProgressBar();
    place(m_statusBar, design::statusBar);

    m_subfolders = named(new QCheckBox(QStringLiteral("Unterordner erfassen"), c), "subfolders");
    place(m_subfolders, design::subfolders);
    m_pattern = named(new QComboBox(c), "pattern");
    m_pattern->setEditable(true);
    m_pattern->setInsertPolicy(QComboBox::NoInsert);
    place(m_pattern, design::pattern);

    m_resultList = named(new QListView(c), "resultList");
    m_resultModel = new ResultListModel(m_resultList);
    m_resultList->setModel(m_resultModel);
    m_resultList->setUniformItemSizes(true);
    m_resultList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_resultList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    place(m_resultList, design::resultList);

    m_toolBar = named(new QToolBar(c), "toolBar");
    m_toolBar->setAccessibleName(QStringLiteral("Symbolleiste"));
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    place(m_toolBar, design::toolBar);

    m_folderEdit = named(new QLineEdit(c), "folderEdit");
    place(m_folderEdit, design::folderEdit);
    m_fileView = named(new FileListBox(m_fs, c), "fileView");
    place(m_fileView, design::fileView);
    m_folderView = named(new FolderListBox(m_fs, c), "folderView");
    place(m_folderView, design::folderView);
    m_driveList = named(new DriveListBox(m_fs, m_prompts, c), "driveList");
    place(m_driveList, design::driveList);

    m_listMarker = named(new QFrame(c), "listMarker");
    m_listMarker->setStyleSheet(
        QStringLiteral("QFrame#listMarker { border: 2px solid rgb(255,128,128); }"));
    m_listMarker->setAttribute(Qt::WA_TransparentForMouseEvents);
    place(m_listMarker, design::listMarker);
    m_listMarker->lower();

    m_patternLabel = named(new QLabel(QStringLiteral("Muster"), c), "patternLabel");
    place(m_patternLabel, design::patternLabel);
    m_folderLabel = named(new QLabel(QStringLiteral("Ausgewählter Pfad"), c), "folderLabel");
    place(m_folderLabel, design::folderLabel);
    m_driveLabel = named(new QLabel(QStringLiteral("Laufwerk"), c), "driveLabel");
    place(m_driveLabel, design::driveLabel);
    // Captions above their control start at the top of their box, so that a font taller
    // than the design font does not push them onto the control below.
    m_folderLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_driveLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_patternLabel->setBuddy(m_pattern);
    m_folderLabel->setBuddy(m_folderEdit);
    m_driveLabel->setBuddy(m_driveList);

    // What a screen reader says for each control; the views, the toolbar and the status bar
    // name themselves, buttons and labels are read by their captions.
    m_folderEdit->setAccessibleName(m_folderLabel->text());
    m_pattern->setAccessibleName(m_patternLabel->text());
    m_pattern->lineEdit()->setAccessibleName(m_patternLabel->text());
    m_resultList->setAccessibleName(QStringLiteral("Ergebnisliste"));
    m_listMarker->setAccessibleName(
        QStringLiteral("Markierung: Liste gehört zum gewählten Ordner"));

    // Tab order by tab index; labels take no focus, nor does the toolbar.
    QWidget::setTabOrder(m_driveList, m_folderView);
    QWidget::setTabOrder(m_folderView, m_fileView);
    QWidget::setTabOrder(m_fileView, m_folderEdit);
    QWidget::setTabOrder(m_folderEdit, m_toolBar);
    QWidget::setTabOrder(m_toolBar, m_resultList);
    QWidget::setTabOrder(m_resultList, m_pattern);
    QWidget::setTabOrder(m_pattern, m_subfolders);

    connect(m_driveList, &DriveListBox::changed, this, &MainWindow::onDriveChanged);
    connect(m_folderView, &FolderListBox::changed, this, &MainWindow::onFolderChanged);
}

QAction* MainWindow::addCommand(const QString& text, const char* name, std::function<void()> run) {
    auto* command = new QAction(text, this);
    command->setObjectName(QString::fromLatin1(name));
    // The command runs once the click that asked for it has returned, as a push button's does: a
    // screen reader's press would otherwise wait until the dialog the command opens is closed.
    connect(command, &QAction::triggered, this, std::move(run), Qt::QueuedConnection);
    return command;
}

void MainWindow::addToToolBar(QAction* command, const char* icon, const QString& toolTip) {
    command->setIcon(toolbarIcon(icon));
    command->setIconVisibleInMenu(false);
    command->setToolTip(toolTip);
    // The button is named by its tip, without the dots that tell of a dialog.
    command->setIconText(toolTip.endsWith(QLatin1String("...")) ? toolTip.chopped(3) : toolTip);
    m_toolBar->addAction(command);
}

void MainWindow::createCommands() {
    QAction* exit = addCommand(QStringLiteral("B&eenden"), "exit", [this] { close(); });
    QAction* list =
        addCommand(QStringLiteral("Dateien auflisten"), "listFiles", [this] { listCommand(); });
    QAction* deleteListed =
        addCommand(QStringLiteral("Löschen"), "deleteListed", [this] { deleteListedFiles(); });
    QAction* copyListed =
        addCommand(QStringLiteral("Kopieren"), "copyListed", [this] { showCopyMoveDialog(false); });
    QAction* moveListed = addCommand(QStringLiteral("Verschieben"), "moveListed",
                                     [this] { showCopyMoveDialog(true); });
    QAction* editAttributes = addCommand(QStringLiteral("Dateiattribute ändern"), "editAttributes",
                                         [this] { this->editAttributes(); });
    QAction* log = addCommand(QStringLiteral("Protokoll..."), "showLog", [this] { showLog(); });
    QAction* about = addCommand(QStringLiteral("&Über"), "about", [this] { showAbout(); });

    // The view filters: each menu item holds its own check mark; the toolbar's check button
    // shows everything while pressed and is pressed whenever both marks are cleared.
    auto filter = [this](const QString& text, const char* name, bool checked) {
        auto* a = new QAction(text, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setCheckable(true);
        a->setChecked(checked);
        return a;
    };
    // Shown greyed out and cleared: read-only files are always listed.
    m_hideReadOnly = filter(QStringLiteral("Schreibgeschützt"), "hideReadOnly", false);
    m_hideReadOnly->setEnabled(false);
    m_hideSystem = filter(QStringLiteral("System"), "hideSystem", true);
    m_hideHidden = filter(QStringLiteral("Versteckt"), "hideHidden", true);
    m_showHidden = filter(QStringLiteral("Ausgeblendete Dateien anzeigen"), "showHidden", false);
    // A menu item acts when chosen; the check button whenever its state changes, a screen
    // reader's toggle included, which Qt delivers without a click.
    connect(m_hideHidden, &QAction::triggered, this, &MainWindow::hideHiddenFiles);
    connect(m_hideSystem, &QAction::triggered, this, &MainWindow::hideSystemFiles);
    connect(m_showHidden, &QAction::toggled, this, &MainWindow::showHiddenFiles);

    QMenuBar* bar = menuBar();
    bar->setAccessibleName(QStringLiteral("Menüleiste"));
    QMenu* file = addMenu(bar, QStringLiteral("&Datei"), "fileMenu");
    file->addAction(exit);

    QMenu* edit = addMenu(bar, QStringLiteral("&Bearbeiten"), "editMenu");
    // Nothing in the window is cut, copied or pasted through them.
    for (const auto& [text, name] :
         {std::pair{"Ausschneiden", "cut"}, std::pair{"Kopieren", "copy"},
          std::pair{"Einfügen", "paste"}}) {
        QAction* a = edit->addAction(QString::fromUtf8(text));
        a->setObjectName(QString::fromLatin1(name));
        a->setEnabled(false);
    }
    edit->addSeparator();
    QMenu* files = edit->addMenu(QStringLiteral("Dateien"));
    files->setObjectName(QStringLiteral("filesMenu"));
    files->addActions({deleteListed, copyListed, moveListed});

    QMenu* view = addMenu(bar, QStringLiteral("&Ansicht"), "viewMenu");
    view->addAction(list);
    view->addSeparator();
    QMenu* hide = view->addMenu(QStringLiteral("Dateien ausblenden"));
    hide->setObjectName(QStringLiteral("hideMenu"));
    hide->addActions({m_hideReadOnly, m_hideSystem, m_hideHidden});
    view->addSeparator();
    view->addAction(log);

    QMenu* help = addMenu(bar, QStringLiteral("&?"), "helpMenu");
    help->addAction(about);

    addToToolBar(exit, "exit", QStringLiteral("Programm beenden"));
    m_toolBar->addSeparator();
    addToToolBar(list, "list", QStringLiteral("Auflisten"));
    addToToolBar(deleteListed, "delete", QStringLiteral("Alle Dateien löschen"));
    addToToolBar(copyListed, "copy", QStringLiteral("Alle Dateien kopieren"));
    addToToolBar(moveListed, "move", QStringLiteral("Alle Dateien verschieben"));
    m_toolBar->addSeparator();
    addToToolBar(m_showHidden, "attribute", m_showHidden->text());
    addToToolBar(editAttributes, "flags", editAttributes->text());
    m_toolBar->addSeparator();
    addToToolBar(log, "protokoll", QStringLiteral("Protokoll anzeigen"));
    m_toolBar->addSeparator();
    addToToolBar(about, "info", QStringLiteral("Über..."));
}

void MainWindow::applyLayout() {
    const MainLayout& l = m_layout;
    const double clientW = toTwips(m_client->width(), this);
    const double clientH = toTwips(m_client->height(), this);
    // The toolbar and the status bar stay docked at the top and bottom edge.
    place(m_toolBar, 0, 0, clientW, design::toolBar.height);
    place(m_statusBar, 0, clientH - design::statusBar.height, clientW, design::statusBar.height);
    place(m_resultList, design::resultList.left, design::resultList.top, l.resultListWidth,
          l.resultListHeight);
    place(m_driveList, design::driveList.left, design::driveList.top, l.driveListWidth,
          design::driveList.height);
    place(m_folderView, design::folderView.left, design::folderView.top, l.folderViewWidth,
          design::folderView.height);
    place(m_folderEdit, l.folderEditLeft, design::folderEdit.top, l.folderEditWidth,
          design::folderEdit.height);
    place(m_fileView, l.fileViewLeft, design::fileView.top, l.fileViewWidth,
          design::fileView.height);
    place(m_patternLabel, l.patternLabelLeft, design::patternLabel.top, design::patternLabel.width,
          design::patternLabel.height);
    place(m_folderLabel, l.folderLabelLeft, design::folderLabel.top, design::folderLabel.width,
          design::folderLabel.height);
    place(m_pattern, l.patternLeft, design::pattern.top, design::pattern.width,
          design::pattern.height);
    // The caption must stay readable in fonts wider than the design font.
    place(
        m_subfolders, l.subfoldersLeft, design::subfolders.top,
        std::max<double>(design::subfolders.width, toTwips(m_subfolders->sizeHint().width(), this)),
        design::subfolders.height);
    place(m_listMarker, l.markerLeft, l.markerTop, l.markerWidth, l.markerHeight);
}

} // namespace ui
