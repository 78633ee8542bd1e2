// TBMShapedForm on a real (offscreen) form: the mask it gives the form, the rules for
// its parent, the AutoSize/Stretch agreement at paint time, and dragging the form.

#include "controls/bmshapedform.h"
#include "testsupport.h"

#include <QFrame>
#include <QPainter>

#include <memory>

using namespace tintara;

namespace {

// A black disc on white, drawn without antialiasing.
QImage Disc(int size) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QRect(0, 0, size, size));
    return image;
}

QImage Filled(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

void ShowForm(QWidget& form) {
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
}

QString ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ShapedFormError& error) {
        return QString::fromUtf8(error.what());
    }
    return QString();
}

} // namespace

class TestBMShapedForm : public QObject {
    Q_OBJECT

private slots:
    void discShapesTheForm_data() {
        QTest::addColumn<bool>("autoSize");
        QTest::addColumn<QSize>("formSize");  // before the picture arrives
        QTest::addColumn<QSize>("resizeTo");  // afterwards; empty: left alone
        QTest::addColumn<QSize>("shapeSize"); // the disc's extent in the mask

        QTest::newRow("natural size") << true << QSize(200, 150) << QSize() << QSize(64, 64);
        QTest::newRow("stretched over the form")
            << false << QSize(128, 96) << QSize() << QSize(128, 96);
        QTest::newRow("rebuilt when the form is resized")
            << false << QSize(128, 96) << QSize(80, 160) << QSize(80, 160);
    }
    void discShapesTheForm() {
        QFETCH(bool, autoSize);
        QFETCH(QSize, formSize);
        QFETCH(QSize, resizeTo);
        QFETCH(QSize, shapeSize);
        QWidget form;
        form.resize(formSize);
        auto* shaped = new TBMShapedForm(&form);
        ShowForm(form);
        shaped->SetAutoSize(autoSize);
        shaped->Picture()->Assign(Disc(64));
        if (resizeTo.isValid())
            form.resize(resizeTo);

        const QRegion mask = form.mask();
        QVERIFY(form.windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(shaped->geometry(), form.rect());
        const int w = shapeSize.width();
        const int h = shapeSize.height();
        // The disc nearly touches the picture's edges (its top line may be all white).
        const QRect extent = mask.boundingRect();
        QVERIFY(QRect(0, 0, w, h).contains(extent));
        QVERIFY(extent.width() >= w - w / 16 && extent.height() >= h - h / 16);
        QVERIFY(mask.contains(QPoint(w / 2, h / 2)));
        QVERIFY(mask.contains(QPoint(w / 2, h / 10)));
        QVERIFY(mask.contains(QPoint(w - 3, h / 2)));
        for (const QPoint corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1),
                                    QPoint(w - 1, h - 1), QPoint(w / 10, h / 10)})
            QVERIFY2(!mask.contains(corner),
                     qPrintable(QStringLiteral("%1,%2").arg(corner.x()).arg(corner.y())));
        if (autoSize)
            QCOMPARE(form.size(), shapeSize);
    }

    void allKeyPictureHidesTheForm() {
        QWidget form;
        form.resize(50, 40);
        auto* shaped = new TBMShapedForm(&form);
        shaped->Picture()->Assign(Filled(50, 40, Qt::red));
        QVERIFY(shaped->ShapeRegion().has_value());
        QVERIFY(shaped->ShapeRegion()->isEmpty());
        QVERIFY(shaped->RegionApplied());
        QVERIFY(!form.mask().isEmpty());
        QVERIFY(form.mask().intersected(form.rect()).isEmpty());
    }

    void emptyPictureKeepsTheShape_data() {
        QTest::addColumn<bool>("autoSize");
        QTest::addColumn<QSize>("formSizeAfter");
        QTest::newRow("AutoSize off") << false << QSize(64, 64);
        QTest::newRow("AutoSize on") << true << QSize(0, 0);
    }
    void emptyPictureKeepsTheShape() {
        QFETCH(bool, autoSize);
        QFETCH(QSize, formSizeAfter);
        QWidget form;
        form.resize(64, 64);
        auto* shaped = new TBMShapedForm(&form);
        shaped->SetAutoSize(autoSize);
        shaped->Picture()->Assign(Disc(64));
        const QRegion disc = form.mask();
        QVERIFY(disc.contains(QPoint(32, 32)));
        shaped->Picture()->Clear();
        QCOMPARE(form.mask(), disc);
        QCOMPARE(form.size(), formSizeAfter);
    }

    void zeroSizeBuildsNothing_data() {
        QTest::addColumn<QSize>("controlSize");
        QTest::newRow("zero width") << QSize(0, 40);
        QTest::newRow("zero height") << QSize(40, 0);
    }
    void zeroSizeBuildsNothing() {
        QFETCH(QSize, controlSize);
        QWidget form;
        form.resize(64, 64);
        auto* shaped = new TBMShapedForm(&form);
        shaped->SetAlign(TImage::alNone);
        shaped->SetBounds(0, 0, controlSize.width(), controlSize.height());
        shaped->Picture()->Assign(Disc(64));
        QVERIFY(!shaped->ShapeRegion().has_value());
        QVERIFY(form.mask().isEmpty());
        QVERIFY(!form.windowFlags().testFlag(Qt::FramelessWindowHint));
    }

    void loadingDefersGeometryChanges() {
        QWidget form;
        form.resize(64, 64);
        auto* shaped = new TBMShapedForm(&form);
        shaped->BeginLoading();
        shaped->Picture()->Assign(Disc(64)); // a picture shapes the form even while loading
        const QRegion disc = form.mask();
        QVERIFY(disc.contains(QPoint(32, 32)));
        shaped->SetAlign(TImage::alNone);
        shaped->SetBounds(0, 0, 32, 32);
        QCOMPARE(form.mask(), disc);
        shaped->Loaded();
        shaped->SetBounds(0, 0, 32, 32);
        QVERIFY(QRect(0, 0, 32, 32).contains(form.mask().boundingRect()));
        QVERIFY(form.mask().contains(QPoint(16, 16)));
    }

    void paintKeepsOneSwitchOn_data() {
        QTest::addColumn<bool>("withPicture");
        QTest::addColumn<QString>(
            "changes"); // applied one per paint: A0/A1 AutoSize, S0/S1 Stretch
        QTest::addColumn<bool>("autoSize");
        QTest::addColumn<bool>("stretch");

        QTest::newRow("new control with a picture") << true << "" << true << false;
        QTest::newRow("AutoSize off turns Stretch on") << true << "A0" << false << true;
        QTest::newRow("Stretch on turns AutoSize off") << true << "S1" << false << true;
        QTest::newRow("AutoSize on again turns Stretch off") << true << "S1 A1" << true << false;
        QTest::newRow("Stretch off turns AutoSize on") << true << "S1 S0" << true << false;
        QTest::newRow("empty picture leaves both off") << false << "" << false << false;
    }
    void paintKeepsOneSwitchOn() {
        QFETCH(bool, withPicture);
        QFETCH(QString, changes);
        QFETCH(bool, autoSize);
        QFETCH(bool, stretch);
        QWidget form;
        form.resize(100, 80);
        auto* shaped = new TBMShapedForm(&form);
        if (withPicture)
            shaped->Picture()->Assign(Disc(48));
        ShowForm(form);
        shaped->repaint();
        for (const QString& change : changes.split(u' ', Qt::SkipEmptyParts)) {
            const bool on = change.at(1) == u'1';
            if (change.at(0) == u'A')
                shaped->SetAutoSize(on);
            else
                shaped->SetStretch(on);
            shaped->repaint();
        }
        QCOMPARE(shaped->AutoSize(), autoSize);
        QCOMPARE(shaped->Stretch(), stretch);
        if (withPicture && autoSize)
            QCOMPARE(form.size(), QSize(48, 48));
    }

    void parentChecks_data() {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("message");
        QTest::newRow("on a form") << "form"
                                   << "";
        QTest::newRow("on a panel") << "panel"
                                    << "Please Drop on a Form";
        QTest::newRow("second on the same form") << "second"
                                                 << "Please Drop only one TBMShapedForm per Form";
        QTest::newRow("on another form beside one") << "other form"
                                                    << "";
    }
    void parentChecks() {
        QFETCH(QString, where);
        QFETCH(QString, message);
        QWidget form;
        QWidget otherForm;
        auto* panel = new QFrame(&form);
        auto* first = new TBMShapedForm(&form);
        QWidget* parent = where == "panel" ? panel : where == "other form" ? &otherForm : &form;
        if (where == "form")
            delete first;

        // Created on the parent: no control results from an error.
        const QString created = ErrorOf([parent] { delete new TBMShapedForm(parent); });
        QCOMPARE(created, message);

        // Moved onto the parent: the parent stays set when the error is raised.
        auto spare = std::make_unique<TBMShapedForm>();
        QCOMPARE(ErrorOf([&] { spare->SetParent(parent); }), message);
        QCOMPARE(spare->parentWidget(), parent);
        spare->SetParent(nullptr);
        QCOMPARE(ErrorOf([&] { spare->SetParent(nullptr); }), QString());
    }

    void dragging_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<Qt::MouseButton>("alsoPressed");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers"); // held while moving
        QTest::addColumn<bool>("moveable");
        QTest::addColumn<bool>("moves");

        const Qt::MouseButton none = Qt::NoButton;
        const Qt::KeyboardModifiers noKeys;
        QTest::newRow("left") << Qt::LeftButton << none << noKeys << true << true;
        QTest::newRow("right") << Qt::RightButton << none << noKeys << true << false;
        QTest::newRow("middle") << Qt::MiddleButton << none << noKeys << true << false;
        QTest::newRow("left and right")
            << Qt::LeftButton << Qt::RightButton << noKeys << true << false;
        QTest::newRow("left with Shift")
            << Qt::LeftButton << none << Qt::KeyboardModifiers(Qt::ShiftModifier) << true << false;
        QTest::newRow("left with Ctrl")
            << Qt::LeftButton << none << Qt::KeyboardModifiers(Qt::ControlModifier) << true
            << false;
        QTest::newRow("left with Alt")
            << Qt::LeftButton << none << Qt::KeyboardModifiers(Qt::AltModifier) << true << false;
        QTest::newRow("left, not Moveable") << Qt::LeftButton << none << noKeys << false << false;
    }
    void dragging() {
        QFETCH(Qt::MouseButton, button);
        QFETCH(Qt::MouseButton, alsoPressed);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(bool, moveable);
        QFETCH(bool, moves);
        QWidget form;
        auto* shaped = new TBMShapedForm(&form);
        shaped->SetAutoSize(true);
        shaped->Picture()->Assign(Disc(64));
        shaped->SetMoveable(moveable);
        form.move(100, 120);
        ShowForm(form);
        const QPoint start = form.pos();

        QTest::mousePress(shaped, button, modifiers, QPoint(30, 30));
        if (alsoPressed != Qt::NoButton)
            QTest::mousePress(shaped, alsoPressed, modifiers, QPoint(30, 30));
        QVERIFY(shaped->Dragging());
        QTest::mouseEvent(QTest::MouseMove, shaped, Qt::NoButton, modifiers, QPoint(40, 45));
        QCOMPARE(form.pos(), moves ? start + QPoint(10, 15) : start);
        if (alsoPressed != Qt::NoButton)
            QTest::mouseRelease(shaped, alsoPressed, modifiers, QPoint(40, 45));
        QTest::mouseRelease(shaped, button, modifiers, QPoint(40, 45));
        QVERIFY(!shaped->Dragging());

        // After the release a move no longer drags, even with the button state faked.
        const QPoint before = form.pos();
        QMouseEvent move(QEvent::MouseMove, QPointF(50, 50), shaped->mapToGlobal(QPointF(50, 50)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(shaped, &move);
        QCOMPARE(form.pos(), before);
    }
};

TINTARA_TEST_MAIN(TestBMShapedForm)
#include "tst_bmshapedform.moc"
