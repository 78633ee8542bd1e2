// TForm1: construction (layout, fonts, settings read at start) and close (settings
// written at the end).

#include "mainwindow/tintara1x.h"

#include "framework/ColourChooser.h"
#include "framework/FileChooser.h"
#include "framework/Prompter.h"
#include "framework/SettingsStore.h"
#include "mainwindow/MaterialListModel.h"
#include "mainwindow/MaterialPanel.h"
#include "mainwindow/ModelViewWindow.h"
#include "mainwindow/SelectionDelegate.h"
#include "mainwindow/SettingNames.h"
#include "mainwindow/WindowFonts.h"
#include "mainwindow/WindowKeys.h"
#include "ui_tintara1x.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QPalette>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>
#include <QTextDocument>

#include <algorithm>

static void InitFormResources() {
    Q_INIT_RESOURCE(tintara1x);
}

namespace tintara {
namespace {

const QStringList& OpenFilters() {
    static const QStringList filters = {QStringLiteral("Aircraft Model (*.mdl)"),
                                        QStringLiteral("Scenery File (*.bgl)"),
                                        QStringLiteral("Any File (*.*)")};
    return filters;
}

constexpr int DefaultTop = 40;
constexpr int DefaultLeft = 60;
constexpr int DefaultShow = 0;

} // namespace

TForm1::TForm1(QWidget* parent) : TForm1(TForm1Services{}, parent) {}

TForm1::TForm1(TForm1Services services, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TForm1>()), load(OpenFilters()),
      Settings(std::move(services.settings)), m_chooser(services.fileChooser),
      m_prompter(services.prompter ? services.prompter : &DefaultPrompter()) {
    InitFormResources();
    if (!m_chooser) {
        m_ownChooser = std::make_unique<SystemFileChooser>();
        m_chooser = m_ownChooser.get();
    }
    ColourChooser* colours = services.colourChooser;
    if (!colours) {
        m_ownColourChooser = std::make_unique<SystemColourChooser>();
        colours = m_ownColourChooser.get();
    }
    ui->setupUi(this);
    SetUpControls();
    LoadSettings();
    ui->GroupBox1->Attach(*m_prompter, *colours, [this] { return FirstSelectedLine() >= 0; });
    ConnectHandlers();
    new WindowKeys(this);
    SetUpOpening();
    SetUpUndo();
    SetUpPreview();
    SetUpModelView();
    SetUpListMenu();
    SetToolTips();
}

TForm1::~TForm1() = default;

void TForm1::SetUpControls() {
    setFont(WindowFont());
    setFixedSize(679, 449);

    // Labels that size themselves to their text keep their place but may grow, so the
    // nearest installed font never cuts them off.
    for (QLabel* label :
         {ui->Label11, ui->Label12, ui->Label13, ui->Label14, ui->Label15, ui->Label16}) {
        label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
    }

    QPalette memo = ui->Memo1->palette();
    memo.setColor(QPalette::Base, memo.color(QPalette::Window));
    ui->Memo1->setPalette(memo);
    // The help was written for a narrow face: a font that keeps its lines whole.
    QPlainTextEdit* help = ui->Memo1;
    const int room = help->width() - 2 * help->frameWidth() -
                     help->verticalScrollBar()->sizeHint().width() -
                     2 * static_cast<int>(help->document()->documentMargin()) - 2;
    help->setFont(
        FontFittingLines(help->font(), help->toPlainText().split(QLatin1Char('\n')), room));

    m_listModel = new MaterialListModel(MaterialTable, m_modelWalk, this);
    ui->texlist->setFont(ListFont());
    // The item view keeps a focus-frame margin and one pixel on each side of the text.
    const int textMargin =
        ui->texlist->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, ui->texlist) + 1;
    m_listModel->SetLineMetrics(ui->texlist->font(), 2 * textMargin);
    ui->texlist->setModel(m_listModel);
    // The selected lines stay as visible while the user edits in the panel.
    ui->texlist->setItemDelegate(new SelectionDelegate(ui->texlist));
}

void TForm1::ConnectHandlers() {
    connect(ui->scan, &QPushButton::clicked, this, &TForm1::scanClick);
    connect(ui->Button1, &QPushButton::clicked, this, &TForm1::loaditClick);
    connect(ui->Button2, &QPushButton::clicked, this, &TForm1::SaveAs1Click);
    connect(ui->Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(ui->Button7, &QPushButton::clicked, this, &TForm1::Button7Click);
    connect(ui->Button8, &QPushButton::clicked, this, &TForm1::Button8Click);
    connect(ui->ComboBox1, &QComboBox::currentTextChanged, this, &TForm1::ComboBox1Change);
    connect(ui->texlist->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TForm1::texlistSelectionChanged);
    connect(ui->texlist, &QAbstractItemView::clicked, this, &TForm1::texlistItemClicked);
    ui->texlist->viewport()->installEventFilter(this);
    connect(ui->GroupBox1, &MaterialPanel::sendBackRequested, this, &TForm1::SendMaterialBack);
}

void TForm1::SetToolTips() {
    ui->Button1->setToolTip(QStringLiteral("Choose a model or scenery file"));
    ui->scan->setToolTip(QStringLiteral("Read the file again; unsaved changes are lost"));
    ui->Button2->setToolTip(QStringLiteral("Write the changed materials into the file"));
    ui->Button3->setToolTip(QStringLiteral("Version, maker and libraries of the program"));
    ui->ComboBox1->setToolTip(QStringLiteral("Which colour the list shows"));
    ui->Edit1->setToolTip(QStringLiteral("The file being edited; right-click for recent files"));
}

void TForm1::LoadSettings() {
    if (!Settings)
        Settings = SettingsStore::OpenUserStore();

    // A setting that cannot be read or written is reported and its default used; the
    // program starts all the same. A store that cannot be opened at all fails every
    // value alike: that is reported once.
    bool storeReported = false;
    const auto report = [this, &storeReported](const SettingsError& error) {
        if (error.WholeStore()) {
            if (storeReported)
                return;
            storeReported = true;
        }
        ShowErrorMessage(*m_prompter, nullptr, error.Text());
    };
    const auto readInteger = [&](const QString& name, int fallback) {
        try {
            return Settings->ReadInteger(name, fallback);
        } catch (const SettingsError& error) {
            report(error);
            return fallback;
        }
    };

    try {
        Settings->WriteString(setting::Program,
                              QDir::toNativeSeparators(QCoreApplication::applicationFilePath()));
    } catch (const SettingsError& error) {
        report(error);
    }

    const int top = readInteger(setting::Top, DefaultTop);
    const int left = readInteger(setting::Left, DefaultLeft);
    m_storedPosition = QPoint(left, top);
    move(m_storedPosition);

    QString folder = DefaultInitialFolder();
    try {
        folder = Settings->ReadString(setting::Load, folder);
    } catch (const SettingsError& error) {
        report(error);
    }
    load.SetInitialDir(folder);

    // Set before the change handler is connected, so no rebuild runs at start.
    const int show = readInteger(setting::Show, DefaultShow);
    ui->ComboBox1->setCurrentIndex(show >= 0 && show < ui->ComboBox1->count() ? show : -1);
    if (ui->ComboBox1->currentIndex() < 0)
        ui->ComboBox1->setEditText(QString());

    m_recent.Read(*Settings);
    m_modelViewPlace.Read(*Settings);
}

void TForm1::SaveSettings() {
    Settings->WriteInteger(setting::Top, y());
    Settings->WriteInteger(setting::Left, x());
    Settings->WriteInteger(setting::Show, ShownProperty());
    Settings->WriteString(setting::Load, load.InitialDir());
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_shownOnce || event->spontaneous())
        return;
    m_shownOnce = true;
#ifdef Q_OS_WIN
    // A window created with its corner on no screen (partly off the left or the top)
    // lands a frame border's width to the right of where it was asked and reports that
    // position, so the stored one crept at every start and close (-100, -96, -92).
    // Placed again now that it exists, it lands where asked and the position stored
    // at close is the one read at start.
    if (pos() != m_storedPosition)
        move(m_storedPosition);
#endif
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose(event);
}

void TForm1::FormClose(QCloseEvent* event) {
    if (!ConfirmDiscardEdits()) {
        event->ignore();
        return;
    }
    if (Settings) {
        try {
            SaveSettings();
        } catch (const SettingsError& error) {
            ShowErrorMessage(*m_prompter, this, error.Text());
            // The first failure keeps the window open; a second close goes ahead.
            if (!m_closeFailedOnce) {
                m_closeFailedOnce = true;
                event->ignore();
                return;
            }
        }
        // The recent files are a convenience: failing to keep them never stops a close.
        try {
            m_recent.Write(*Settings);
        } catch (const SettingsError&) {
        }
        // So is the model view's place.
        try {
            if (m_modelView)
                m_modelViewPlace.SetPlace(QRect(m_modelView->pos(), m_modelView->size()));
            m_modelViewPlace.Write(*Settings);
        } catch (const SettingsError&) {
        }
        Settings.reset();
    }
    event->accept();
}

int TForm1::ShownProperty() const {
    const QComboBox* box = ui->ComboBox1;
    const int current = box->currentIndex();
    if (current >= 0 && box->itemText(current) == box->currentText())
        return current;
    return box->findText(box->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

} // namespace tintara
