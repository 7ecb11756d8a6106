#include "ui/main/frmMain.h"

#include "core/operation_log.h"
#include "ui/controls/drive_list_box.h"
#include "ui/controls/file_list_box.h"
#include "ui/controls/folder_list_box.h"
#include "ui/controls/keyed_tool_bar.h"
#include "ui/controls/panel_status_bar.h"
#include "ui/controls/program_icon.h"
#include "ui/controls/twips.h"
#include "ui/main/frmMain_target_folder.h"
#include "ui/main/main_layout.h"
#include "ui/main/result_list_model.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace {

template <class W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

void place(QWidget* w, double left, double top, double width, double height) {
    w->setGeometry(ui::twipsRect(left, top, width, height, w));
}

void place(QWidget* w, const ui::TwipsRect& r) {
    place(w, r.left, r.top, r.width, r.height);
}

} // namespace

frmMain::frmMain(platform::Platform& fs, ui::Prompts& prompts, QWidget* parent)
    : QMainWindow(parent), m_fs(fs), m_prompts(prompts),
      m_log(std::make_unique<core::OperationLog>(fs)), m_layout(ui::designLayout()) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tilgomat"));
    setWindowIcon(ui::programIcon());
    createControls();
    createMenus();
    createToolbar();
    resize(ui::toPixels(ui::design::clientWidth, this),
           ui::toPixels(ui::design::clientHeight, this) + menuBar()->sizeHint().height());
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    Form_Load();
}

const core::EntryList& frmMain::resultEntries() const {
    return m_resultModel->entries();
}

void frmMain::createControls() {
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    setCentralWidget(m_client);
    QWidget* c = m_client;

    // Created in the window's fixed order; the hidden row at the bottom is never shown.
    StatusBar1 = named(new ui::PanelStatusBar(c), "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->addPanel({1440, 1440, false, QStringLiteral("Anzahl der gefundenen Dateien")});
    StatusBar1->addPanel({1440, 1440, false, QStringLiteral("Anzahl der Ordnereinträge")});
    StatusBar1->addPanel(
        {2445, 2440, true, QStringLiteral("Programmversion, oder der Zielordner beim Kopieren")});
    createProgressBar();
    place(StatusBar1, ui::design::StatusBar1);

    Command1 = named(new QPushButton(QStringLiteral("Command1"), c), "Command1");
    place(Command1, ui::design::Command1);
    Text3 = named(new QLineEdit(QStringLiteral("Text3"), c), "Text3");
    place(Text3, ui::design::Text3);
    Text2 = named(new QLineEdit(QStringLiteral("Text2"), c), "Text2");
    place(Text2, ui::design::Text2);
    Text1 = named(new QLineEdit(QStringLiteral("Text1"), c), "Text1");
    place(Text1, ui::design::Text1);
    cmdList = named(new QPushButton(QStringLiteral("Auflisten"), c), "cmdList");
    place(cmdList, ui::design::cmdList);

    Check1 = named(new QCheckBox(QStringLiteral("Unterordner erfassen"), c), "Check1");
    place(Check1, ui::design::Check1);
    cboMuster = named(new QComboBox(c), "cboMuster");
    cboMuster->setEditable(true);
    cboMuster->setInsertPolicy(QComboBox::NoInsert);
    cboMuster->setEditText(QStringLiteral("cboMuster"));
    place(cboMuster, ui::design::cboMuster);

    List1 = named(new QListView(c), "List1");
    m_resultModel = new ui::ResultListModel(List1);
    List1->setModel(m_resultModel);
    List1->setUniformItemSizes(true);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    place(List1, ui::design::List1);

    Toolbar1 = named(new ui::KeyedToolBar(c), "Toolbar1");
    place(Toolbar1, ui::design::Toolbar1);

    txtFolderMask = named(new QLineEdit(QStringLiteral("txtFolderMask"), c), "txtFolderMask");
    place(txtFolderMask, ui::design::txtFolderMask);
    File1 = named(new ui::FileListBox(m_fs, c), "File1");
    place(File1, ui::design::File1);
    Dir1 = named(new ui::FolderListBox(m_fs, c), "Dir1");
    place(Dir1, ui::design::Dir1);
    Drive1 = named(new ui::DriveListBox(m_fs, m_prompts, c), "Drive1");
    place(Drive1, ui::design::Drive1);

    shpMarker = named(new QFrame(c), "shpMarker");
    shpMarker->setStyleSheet(
        QStringLiteral("QFrame#shpMarker { border: 2px solid rgb(255,128,128); }"));
    shpMarker->setAttribute(Qt::WA_TransparentForMouseEvents);
    place(shpMarker, ui::design::shpMarker);
    shpMarker->lower();

    Label3 = named(new QLabel(QStringLiteral("Dateien"), c), "Label3");
    place(Label3, ui::design::Label3);
    Label4 = named(new QLabel(QStringLiteral("Ordner"), c), "Label4");
    place(Label4, ui::design::Label4);
    Label5 = named(new QLabel(c), "Label5");
    place(Label5, ui::design::Label5);
    Label6 = named(new QLabel(c), "Label6");
    place(Label6, ui::design::Label6);
    lblMuster = named(new QLabel(QStringLiteral("Muster"), c), "lblMuster");
    place(lblMuster, ui::design::lblMuster);
    lblPath = named(new QLabel(QStringLiteral("Ausgewählter Pfad"), c), "lblPath");
    place(lblPath, ui::design::lblPath);
    lbDrive = named(new QLabel(QStringLiteral("Laufwerk"), c), "lbDrive");
    place(lbDrive, ui::design::lbDrive);
    // Captions above their control start at the top of their box, so that a font taller
    // than the form font does not push them onto the control below.
    lblPath->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbDrive->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblMuster->setBuddy(cboMuster);
    lblPath->setBuddy(txtFolderMask);
    lbDrive->setBuddy(Drive1);

    // What a screen reader says for each control; the views, the toolbar and the status bar
    // name themselves, buttons and labels are read by their captions.
    txtFolderMask->setAccessibleName(lblPath->text());
    cboMuster->setAccessibleName(lblMuster->text());
    cboMuster->lineEdit()->setAccessibleName(lblMuster->text());
    List1->setAccessibleName(QStringLiteral("Ergebnisliste"));
    shpMarker->setAccessibleName(QStringLiteral("Markierung: Liste gehört zum gewählten Ordner"));

    for (QWidget* hidden : std::initializer_list<QWidget*>{Command1, Text3, Text2, Text1, cmdList,
                                                           Label3, Label4, Label5, Label6})
        hidden->setVisible(false);

    // Tab order by tab index; labels and the hidden row take no focus.
    QWidget::setTabOrder(Drive1, Dir1);
    QWidget::setTabOrder(Dir1, File1);
    QWidget::setTabOrder(File1, txtFolderMask);
    QWidget::setTabOrder(txtFolderMask, Toolbar1);
    QWidget::setTabOrder(Toolbar1, List1);
    QWidget::setTabOrder(List1, cboMuster);
    QWidget::setTabOrder(cboMuster, Check1);

    connect(cmdList, &QPushButton::clicked, this, [this] { listCommand(); });
    connect(Command1, &QPushButton::clicked, this, [this] { mnuProtocoll_Click(); });
    connect(Drive1, &ui::DriveListBox::changed, this, [this] { Drive1_Change(); });
    connect(Dir1, &ui::FolderListBox::changed, this, [this] { Dir1_Change(); });
}

void frmMain::createMenus() {
    QMenuBar* bar = menuBar();
    bar->setAccessibleName(QStringLiteral("Menüleiste"));
    auto item = [this](QMenu* menu, const QString& caption, const char* name) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };

    mnuFile = bar->addMenu(QStringLiteral("&Datei"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuEnd = item(mnuFile, QStringLiteral("B&eenden"), "mnuEnd");

    mnuEdit = bar->addMenu(QStringLiteral("&Bearbeiten"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuCut = item(mnuEdit, QStringLiteral("Ausschneiden"), "mnuCut");
    mnuCopy = item(mnuEdit, QStringLiteral("Kopieren"), "mnuCopy");
    mnuPaste = item(mnuEdit, QStringLiteral("Einfügen"), "mnuPaste");
    mnuEdit->addSeparator()->setObjectName(QStringLiteral("mnuLine0"));
    mnuEditFile = mnuEdit->addMenu(QStringLiteral("Dateien"));
    mnuEditFile->setObjectName(QStringLiteral("mnuEditFile"));
    mnuDeleteAll = item(mnuEditFile, QStringLiteral("Löschen"), "mnuDeleteAll");
    mnuFileCopy = item(mnuEditFile, QStringLiteral("Kopieren"), "mnuFileCopy");
    mnuFileMove = item(mnuEditFile, QStringLiteral("Verschieben"), "mnuFileMove");

    mnuView = bar->addMenu(QStringLiteral("&Ansicht"));
    mnuView->setObjectName(QStringLiteral("mnuView"));
    mnuListAll = item(mnuView, QStringLiteral("Dateien auflisten"), "mnuListAll");
    mnuView->addSeparator()->setObjectName(QStringLiteral("mnuLine1"));
    mnuViewAtribute = mnuView->addMenu(QStringLiteral("Dateien ausblenden"));
    mnuViewAtribute->setObjectName(QStringLiteral("mnuViewAtribute"));
    mnuViewReadOnly = item(mnuViewAtribute, QStringLiteral("Schreibgeschützt"), "mnuViewReadOnly");
    mnuViewSystem = item(mnuViewAtribute, QStringLiteral("System"), "mnuViewSystem");
    mnuViewHidden = item(mnuViewAtribute, QStringLiteral("Versteckt"), "mnuViewHidden");
    for (QAction* a : {mnuViewReadOnly, mnuViewSystem, mnuViewHidden}) {
        a->setCheckable(true);
        a->setChecked(true);
    }
    // Shown greyed out: its check mark changes only through the "Attribute" button.
    mnuViewReadOnly->setEnabled(false);
    mnuView->addSeparator()->setObjectName(QStringLiteral("mnuLine2"));
    mnuProtocoll = item(mnuView, QStringLiteral("Protokoll..."), "mnuProtocoll");

    mnuHelp = bar->addMenu(QStringLiteral("&?"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuAbout = item(mnuHelp, QStringLiteral("&Über"), "mnuAbout");

    connect(mnuEnd, &QAction::triggered, this, [this] { close(); });
    // The delete checks the list itself, so the item and the toolbar call it directly.
    connect(mnuDeleteAll, &QAction::triggered, this, [this] { DeleteListedFiles(); });
    connect(mnuFileCopy, &QAction::triggered, this, [this] { showCopyMoveDialog(false); });
    connect(mnuFileMove, &QAction::triggered, this, [this] { showCopyMoveDialog(true); });
    // The item names the listing that the toolbar's List button starts, so it starts it too.
    connect(mnuListAll, &QAction::triggered, this, [this] { listCommand(); });
    // Qt toggles a checkable item before it reports the click; the handlers decide the mark.
    connect(mnuViewHidden, &QAction::triggered, this, [this] {
        mnuViewHidden->setChecked(!mnuViewHidden->isChecked());
        mnuViewHidden_Click();
    });
    connect(mnuViewSystem, &QAction::triggered, this, [this] {
        mnuViewSystem->setChecked(!mnuViewSystem->isChecked());
        mnuViewSystem_Click();
    });
    connect(mnuProtocoll, &QAction::triggered, this, [this] { mnuProtocoll_Click(); });
    connect(mnuAbout, &QAction::triggered, this, [this] { mnuAbout_Click(); });
}

void frmMain::createToolbar() {
    Toolbar1->addButton(QStringLiteral("Exit"), QStringLiteral("Programm beenden"),
                        ui::toolbarIcon("exit"));
    Toolbar1->addSeparatorButton();
    Toolbar1->addButton(QStringLiteral("List"), QStringLiteral("Auflisten"),
                        ui::toolbarIcon("list"));
    Toolbar1->addButton(QStringLiteral("Delete"), QStringLiteral("Alle Dateien löschen"),
                        ui::toolbarIcon("delete"));
    Toolbar1->addButton(QStringLiteral("Copy"), QStringLiteral("Alle Dateien kopieren"),
                        ui::toolbarIcon("copy"));
    Toolbar1->addButton(QStringLiteral("Move"), QStringLiteral("Alle Dateien verschieben"),
                        ui::toolbarIcon("move"));
    Toolbar1->addSeparatorButton();
    Toolbar1->addButton(QStringLiteral("Attribute"),
                        QStringLiteral("Ausgeblendete Dateien anzeigen"),
                        ui::toolbarIcon("attribute"), true);
    Toolbar1->addButton(QStringLiteral("Flags"), QStringLiteral("Dateiattribute ändern"),
                        ui::toolbarIcon("flags"));
    Toolbar1->addSeparatorButton();
    Toolbar1->addButton(QStringLiteral("Protokoll"), QStringLiteral("Protokoll anzeigen"),
                        ui::toolbarIcon("protokoll"));
    Toolbar1->addSeparatorButton();
    Toolbar1->addButton(QStringLiteral("Info"), QStringLiteral("Über..."), ui::toolbarIcon("info"));
    connect(Toolbar1, &ui::KeyedToolBar::buttonClick, this,
            [this](const QString& key) { Toolbar1_ButtonClick(key); });
}

void frmMain::applyLayout() {
    const ui::MainLayout& l = m_layout;
    const double clientW = ui::toTwips(m_client->width(), this);
    const double clientH = ui::toTwips(m_client->height(), this);
    // The toolbar and the status bar stay docked at the top and bottom edge.
    place(Toolbar1, 0, 0, clientW, ui::design::Toolbar1.height);
    place(StatusBar1, 0, clientH - ui::design::StatusBar1.height, clientW,
          ui::design::StatusBar1.height);
    place(List1, ui::design::List1.left, ui::design::List1.top, l.list1Width, l.list1Height);
    place(Drive1, ui::design::Drive1.left, ui::design::Drive1.top, l.drive1Width,
          ui::design::Drive1.height);
    place(Dir1, ui::design::Dir1.left, ui::design::Dir1.top, l.dir1Width, ui::design::Dir1.height);
    place(txtFolderMask, l.txtFolderMaskLeft, ui::design::txtFolderMask.top, l.txtFolderMaskWidth,
          ui::design::txtFolderMask.height);
    place(File1, l.file1Left, ui::design::File1.top, l.file1Width, ui::design::File1.height);
    place(lblMuster, l.lblMusterLeft, ui::design::lblMuster.top, ui::design::lblMuster.width,
          ui::design::lblMuster.height);
    place(lblPath, l.lblPathLeft, ui::design::lblPath.top, ui::design::lblPath.width,
          ui::design::lblPath.height);
    place(cboMuster, l.cboMusterLeft, ui::design::cboMuster.top, ui::design::cboMuster.width,
          ui::design::cboMuster.height);
    // The caption must stay readable in fonts wider than the design font.
    place(Check1, l.check1Left, ui::design::Check1.top,
          std::max<double>(ui::design::Check1.width, ui::toTwips(Check1->sizeHint().width(), this)),
          ui::design::Check1.height);
    place(shpMarker, l.shpMarkerLeft, l.shpMarkerTop, l.shpMarkerWidth, l.shpMarkerHeight);
}
