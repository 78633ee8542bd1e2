#pragma once
// The window the panel tests work on: opened on a file of six materials, with
// shortcuts to the swatches, the edits, the indicators and the spinners of the panels.

#include "FormFixture.h"
#include "MaterialBytes.h"

#include "controls/NumEdit.h"
#include "controls/Shape.h"
#include "controls/UpDown.h"

#include <QTest>

#include <memory>

namespace tintara::test {

// Line 0: diffuse 1.0, 0.5, 0.0 with alpha 0.5; line 1: red 2.0; line 2: power 5000;
// line 3: alpha 1.5; lines 4 and 5: ordinary materials.
inline MaterialBytes PanelFile() {
    MaterialBytes file;
    file.fill(64).list({MakeEntry(1.0f, 0.5f, 0.0f, 0.5f, 20.0f), MakeEntry(2.0f, 0.0f, 0.0f, 1.0f),
                        MakeEntry(0.2f, 0.4f, 0.6f, 1.0f, 5000.0f),
                        MakeEntry(0.0f, 0.0f, 1.0f, 1.5f), MakeEntry(0.1f, 0.2f, 0.3f, 1.0f, 12.5f),
                        MakeEntry(0.4f, 0.4f, 0.4f, 1.0f)});
    return file;
}

// The state and shortcuts of a panel test class, which derives from this as well as
// from QObject and forwards its init() and cleanup() slots here.
class PanelFixture {
protected:
    void init();
    void cleanup();

    TShape* shape(const char* name) { return f->child<TShape>(name); }
    TNumEdit* edit(int n) {
        return f->child<TNumEdit>(QStringLiteral("NumEdit%1").arg(n).toLatin1().constData());
    }
    QString text(int n) { return edit(n)->text(); }
    QStringList editTexts() { return {text(1), text(2), text(3), text(4)}; }
    QStringList visibleIndicators();
    void typeInto(int n, const QString& typed);
    void spin(const char* spinner, bool up);

    std::unique_ptr<FormFixture> f;
    ProbeForm* form = nullptr;
};

inline void PanelFixture::init() {
    f = std::make_unique<FormFixture>();
    PanelFile().writeTo(f->path("panel.mdl").toStdString());
    form = &f->create();
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form));
    f->chooseFile(f->path("panel.mdl"));
    QCOMPARE(f->lines().size(), 6);
}

inline void PanelFixture::cleanup() {
    f.reset();
    form = nullptr;
}

inline QStringList PanelFixture::visibleIndicators() {
    QStringList names;
    for (const char* name : {"Shape6", "Shape7", "Shape8", "Shape9"}) {
        if (!shape(name)->isHidden())
            names << QLatin1String(name);
    }
    return names;
}

inline void PanelFixture::typeInto(int n, const QString& typed) {
    TNumEdit* target = edit(n);
    target->setFocus();
    target->selectAll();
    QTest::keyClicks(target, typed);
}

inline void PanelFixture::spin(const char* spinner, bool up) {
    auto* control = f->child<TUpDown>(spinner);
    const QPoint at(control->width() / 2, up ? 3 : control->height() - 3);
    QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, at);
}

} // namespace tintara::test
