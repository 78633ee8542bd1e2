#include "FormFixture.h"

#include "framework/SettingsStore.h"

#include <QTest>

namespace tintara::test {

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
    m_form = std::make_unique<ProbeForm>(std::move(services));
    return *m_form;
}

void FormFixture::chooseFile(const QString& file, int filterIndex) {
    chooser.choices.push_back(FileChoice{file, filterIndex});
    QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
}

QStringList FormFixture::lines() {
    QStringList result;
    const QAbstractItemModel* model = list()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        result << model->index(row, 0).data().toString();
    return result;
}

} // namespace tintara::test
