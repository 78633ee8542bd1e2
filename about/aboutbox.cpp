#include "about/aboutbox.h"

#include "about/aboutpictures.h"
#include "about/maker.h"
#include "framework/FileVersion.h"
#include "framework/FileVersionLookup.h"
#include "framework/Shell.h"
#include "ui_aboutbox.h"

#include <QApplication>
#include <QFileInfo>
#include <QScreen>
#include <QShowEvent>
#include <QTextCursor>

namespace tintara {
namespace {

constexpr int LibraryLineHeight = 15;
constexpr int DescriptionLineHeight = 13;

// The title the application has when the program sets none: the executable's file
// name without its folder, cut at its first dot, the letters after the first in lower
// case.
QString defaultApplicationTitle() {
    QString name = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    name = name.left(name.indexOf(QLatin1Char('.')));
    return name.left(1) + name.mid(1).toLower();
}

QFont pixelFont(const QStringList& families, int pixelSize, bool fixedPitch = false) {
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    if (fixedPitch) {
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
    }
    return font;
}

// Inserts at the sorted position, comparing without regard to letter case, as a
// sorted list box does; returns the row.
int insertSorted(QListWidget& list, const QString& text, int height) {
    int row = 0;
    while (row < list.count() &&
           QString::compare(list.item(row)->text(), text, Qt::CaseInsensitive) <= 0)
        ++row;
    auto* item = new QListWidgetItem(text);
    item->setSizeHint(QSize(1, height));
    list.insertItem(row, item);
    return row;
}

} // namespace

TAboutForm::TAboutForm(QWidget* owner) : QDialog(owner), ui(std::make_unique<Ui::TAboutForm>()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(494, 324);
    setWindowIcon(about::programIcon());
    ApplyFonts();
    ApplyPictures();

    // Memo3 shows its lines centred on the page's own colour.
    QTextCursor cursor(ui->Memo3->document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.mergeBlockFormat(centred);
    QPalette memoPalette = ui->Memo3->palette();
    memoPalette.setColor(QPalette::Base, memoPalette.color(QPalette::Window));
    ui->Memo3->setPalette(memoPalette);

    QPalette listPalette = ui->ListBox1->palette();
    listPalette.setColor(QPalette::Base, listPalette.color(QPalette::Button));
    listPalette.setColor(QPalette::Text, Qt::black);
    ui->ListBox1->setPalette(listPalette);

    const QIcon appIcon = QApplication::windowIcon();
    ui->ExeButton1->SetIcon(appIcon.isNull() ? about::programIcon() : appIcon);
    ui->ExeButton1->SetCaption(defaultApplicationTitle());

    ConnectHandlers();
    // "Close" is first in the tab order, so it has the focus when the window first shows.
    ui->Button1->setFocus(Qt::TabFocusReason);
}

TAboutForm::~TAboutForm() = default;

void TAboutForm::ApplyFonts() {
    // Designer forms carry point sizes only; the window's fonts are sized in pixels.
    const QFont formFont =
        pixelFont({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                   QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")},
                  11);
    setFont(formFont);
    ui->Memo2->setFont(formFont);
    QPalette memoPalette = ui->Memo2->palette();
    memoPalette.setColor(QPalette::Text, Qt::black);
    ui->Memo2->setPalette(memoPalette);
    ui->ListBox1->setFont(
        pixelFont({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                   QStringLiteral("DejaVu Sans Mono")},
                  11, true));
}

void TAboutForm::ApplyPictures() {
    const QColor background = palette().color(QPalette::Window);
    const QPixmap web = about::WebPicture(background);
    ui->MButton3->SetBitmap(web);
    ui->MButton4->SetBitmap(web);
    ui->MButton2->SetBitmap(about::contactPicture(background));
    ui->MButton1->SetBitmap(about::ShowcasePicture(background));
}

void TAboutForm::ConnectHandlers() {
    connect(ui->Button1, &QPushButton::clicked, this, &TAboutForm::Button1Click);
    connect(ui->MButton3, &TMButton::OnClick, this, &TAboutForm::Button2Click);
    connect(ui->MButton4, &TMButton::OnClick, this, &TAboutForm::Button2Click);
    connect(ui->MButton2, &TMButton::OnClick, this, &TAboutForm::MButton2Click);
    // A click on a line, or moving the selection with the keyboard.
    connect(ui->ListBox1, &QListWidget::itemClicked, this, &TAboutForm::ListBox1Click);
    connect(ui->ListBox1, &QListWidget::itemSelectionChanged, this, &TAboutForm::ListBox1Click);
}

void TAboutForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        CentreOnScreen();
        FormShow();
    }
}

void TAboutForm::CentreOnScreen() {
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void TAboutForm::FormShow() {
    if (const auto version = FileVersionText(QCoreApplication::applicationFilePath())) {
        ui->Label2->setText(QLatin1String("Version ") + *version);
        ui->Label2->adjustSize();
    }
    ui->Label1->setText(AboutText);
    ui->ListBox1->clear();
    ui->ListBox2->clear();
    for (const auto& entry : about::LibraryTable())
        AddLibraryLine(entry.fileName, entry.description);
}

void TAboutForm::AddLibraryLine(const QString& fileName, const QString& description) {
    const auto fill = std::max<qsizetype>(0, 12 - fileName.size());
    const QString prefix = fileName + QString(fill, QLatin1Char(' ')) + QLatin1String(" -   ");
    const auto version = LibraryVersionText(fileName);
    insertSorted(*ui->ListBox1, prefix + version.value_or(QStringLiteral("Not found")),
                 LibraryLineHeight);
    insertSorted(*ui->ListBox2, description, DescriptionLineHeight);
}

void TAboutForm::ListBox1Click() {
    for (int i = 0; i < ui->ListBox1->count(); ++i) {
        if (!ui->ListBox1->item(i)->isSelected())
            continue;
        if (i < ui->ListBox2->count())
            ui->Label3->setText(ui->ListBox2->item(i)->text() + QLatin1Char(' '));
        return;
    }
}

void TAboutForm::Button1Click() {
    reject();
}

void TAboutForm::Button2Click() {
    shell::Open(about::WebAddress());
    reject();
}

void TAboutForm::MButton2Click() {
    shell::Open(about::ContactMailLink());
    reject();
}

} // namespace tintara
