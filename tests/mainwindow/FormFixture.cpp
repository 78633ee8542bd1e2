#include "FormFixture.h"

#include "framework/SettingsStore.h"

#include <QTest>

#include <algorithm>

namespace tintara::test {

ProbeForm::ProbeForm(TForm1Services services) : TForm1(std::move(services)) {
    connect(this, &TForm1::texlistClicked, this, [this] { ++texlistClicks; });
}

FormFixture::FormFixture() {
    QVERIFY(m_dir.isValid());
}

std::unique_ptr<QSettings> FormFixture::settings() const {
    return std::make_unique<QSettings>(settingsPath(), QSettings::IniFormat);
}

ProbeForm& FormFixture::create(const QString& settingsFile) {
    TForm1Services services;
    services.settings = std::make_unique<SettingsStore>(std::make_unique<QSettings>(
        settingsFile.isEmpty() ? settingsPath() : settingsFile, QSettings::IniFormat));
    services.fileChooser = &chooser;
    services.prompter = &prompter;
    services.colourChooser = &colours;
    m_form = std::make_unique<ProbeForm>(std::move(services));
    return *m_form;
}

void FormFixture::chooseFile(const QString& file, int filterIndex) {
    chooser.choices.push_back(FileChoice{file, filterIndex});
    QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
}

void FormFixture::clickLine(int row, Qt::KeyboardModifiers modifiers) {
    QAbstractItemView* view = list();
    view->scrollTo(view->model()->index(row, 0));
    const QRect rect = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, rect.center());
}

void FormFixture::click(const char* button) {
    QPushButton* target = child<QPushButton>(button);
    QVERIFY2(target, button);
    QTest::mouseClick(target, Qt::LeftButton);
}

QList<int> FormFixture::selectedLines() {
    QList<int> rows;
    for (const QModelIndex& index : list()->selectionModel()->selectedIndexes())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

QStringList FormFixture::lines() {
    QStringList result;
    const QAbstractItemModel* model = list()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        result << model->index(row, 0).data().toString();
    return result;
}

} // namespace tintara::test
