#include "ViewStyling.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace ViewStyling;

class TestViewStyling : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void properties_data();
    void properties();
    void clearingAColour();
    void painting();
};

namespace {

// What the reading gives for a widget, by property name.
QVariant reading(const QWidget *view, const QString &name)
{
    if (name == u"backgroundColor") {
        const auto colour = backgroundColor(view);
        return colour ? QVariant(*colour) : QVariant();
    }
    return ViewStyling::cornerRadius(view);
}

} // namespace

void TestViewStyling::properties_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("neutral");
    QTest::addColumn<QVariant>("set");
    QTest::addColumn<QVariant>("read");

    const QVariant red = QColor(Qt::red);
    QTest::newRow("background colour") << u"backgroundColor"_s << QVariant() << red << red;
    // The corner radius is cut to two decimals toward zero and made non-negative.
    QTest::newRow("corner radius 2.567") << u"cornerRadius"_s << QVariant(0.0) << QVariant(2.567) << QVariant(2.56);
    QTest::newRow("corner radius -3.2") << u"cornerRadius"_s << QVariant(0.0) << QVariant(-3.2) << QVariant(3.2);
    QTest::newRow("corner radius infinite") << u"cornerRadius"_s << QVariant(0.0)
                                            << QVariant(std::numeric_limits<double>::infinity()) << QVariant(0.0);
}

void TestViewStyling::properties()
{
    QFETCH(QString, name);
    QFETCH(QVariant, neutral);
    QFETCH(QVariant, set);
    QFETCH(QVariant, read);

    QWidget window;
    auto *view = new QWidget(&window);
    // Reading does not make a layer.
    QCOMPARE(reading(view, name), neutral);
    QVERIFY(!isLayerBacked(view));

    // As uic sets it from a .ui file.
    view->setProperty(name.toLatin1().constData(), set);
    adoptDynamicProperties(&window);
    QVERIFY(isLayerBacked(view));
    QVERIFY(!isLayerBacked(&window));
    QCOMPARE(reading(view, name), read);
    QCOMPARE(view->property(name.toLatin1().constData()), read);
    QCOMPARE(masksToBounds(view), name == u"cornerRadius");

    // Later changes apply too.
    view->setProperty(name.toLatin1().constData(), set);
    QCOMPARE(reading(view, name), read);
}

void TestViewStyling::clearingAColour()
{
    QWidget view;
    setBackgroundColor(&view, QColor(Qt::green));
    setBackgroundColor(&view, std::nullopt);
    QCOMPARE(backgroundColor(&view), std::nullopt);
}

void TestViewStyling::painting()
{
    QWidget view;
    view.resize(40, 30);
    setBackgroundColor(&view, QColor(Qt::red));
    setBorderColor(&view, QColor(Qt::blue));
    setBorderWidth(&view, 4);
    const QImage image = view.grab().toImage();
    QCOMPARE(image.pixelColor(20, 15), QColor(Qt::red));
    QCOMPARE(image.pixelColor(1, 15), QColor(Qt::blue));
}

QTEST_MAIN(TestViewStyling)
#include "tst_viewstyling.moc"
