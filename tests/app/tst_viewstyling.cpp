#include "ViewStyling.h"

#include <QLabel>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace ViewStyling;

class TestViewStyling : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readingWithoutLayer();
    void settingMakesLayerBacked_data();
    void settingMakesLayerBacked();
    void cornerRadius_data();
    void cornerRadius();
    void clearingAColour();
    void dynamicPropertiesFromTheWindowDescription();
    void painting();
};

void TestViewStyling::readingWithoutLayer()
{
    QWidget view;
    QCOMPARE(backgroundColor(&view), std::nullopt);
    QCOMPARE(borderColor(&view), std::nullopt);
    QCOMPARE(shadowColor(&view), std::nullopt);
    QCOMPARE(borderWidth(&view), 0.0);
    QCOMPARE(ViewStyling::cornerRadius(&view), 0.0);
    QCOMPARE(shadowOffset(&view), QSizeF(0, 0));
    QCOMPARE(shadowOpacity(&view), 0.0f);
    QCOMPARE(shadowRadius(&view), 0.0);
    QVERIFY(!masksToBounds(&view));
    QVERIFY(!isLayerBacked(&view));
}

void TestViewStyling::settingMakesLayerBacked_data()
{
    QTest::addColumn<QString>("property");
    for (const char *name : { "backgroundColor", "borderColor", "borderWidth", "cornerRadius", "shadowColor",
                              "shadowOffset", "shadowOpacity", "shadowRadius" })
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestViewStyling::settingMakesLayerBacked()
{
    QFETCH(QString, property);

    QLabel view(u"any kind of widget"_s);
    const QHash<QString, std::function<void()>> setters = {
        { u"backgroundColor"_s, [&] { setBackgroundColor(&view, QColor(Qt::red)); } },
        { u"borderColor"_s, [&] { setBorderColor(&view, QColor(Qt::blue)); } },
        { u"borderWidth"_s, [&] { setBorderWidth(&view, 2); } },
        { u"cornerRadius"_s, [&] { setCornerRadius(&view, 4); } },
        { u"shadowColor"_s, [&] { setShadowColor(&view, QColor(Qt::black)); } },
        { u"shadowOffset"_s, [&] { setShadowOffset(&view, QSizeF(1, -2)); } },
        { u"shadowOpacity"_s, [&] { setShadowOpacity(&view, 0.5f); } },
        { u"shadowRadius"_s, [&] { setShadowRadius(&view, 3); } },
    };
    setters.value(property)();
    QVERIFY(isLayerBacked(&view));
    // The value reads back, also as the widget's property of the same name.
    const QVariant value = view.property(property.toLatin1().constData());
    QVERIFY(value.isValid());
    if (property == u"shadowOffset")
        QCOMPARE(shadowOffset(&view), QSizeF(1, -2));
    if (property == u"borderWidth")
        QCOMPARE(borderWidth(&view), 2.0);
}

void TestViewStyling::cornerRadius_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("stored");

    QTest::newRow("cut to two decimals") << 2.567 << 2.56;
    QTest::newRow("negative made positive") << -3.2 << 3.2;
    QTest::newRow("below a hundredth") << 0.004 << 0.0;
    QTest::newRow("whole") << 6.0 << 6.0;
    QTest::newRow("not finite") << std::numeric_limits<double>::infinity() << 0.0;
}

void TestViewStyling::cornerRadius()
{
    QFETCH(double, value);
    QFETCH(double, stored);

    QWidget view;
    setCornerRadius(&view, value);
    QCOMPARE(ViewStyling::cornerRadius(&view), stored);
    QCOMPARE(view.property("cornerRadius").toDouble(), stored);
    QVERIFY(masksToBounds(&view));
}

void TestViewStyling::clearingAColour()
{
    QWidget view;
    setBackgroundColor(&view, QColor(Qt::green));
    QCOMPARE(backgroundColor(&view), std::optional(QColor(Qt::green)));
    setBackgroundColor(&view, std::nullopt);
    QCOMPARE(backgroundColor(&view), std::nullopt);
}

void TestViewStyling::dynamicPropertiesFromTheWindowDescription()
{
    QWidget window;
    auto *child = new QWidget(&window);
    // As uic sets them from a .ui file.
    child->setProperty("borderWidth", 2.0);
    child->setProperty("cornerRadius", 2.567);
    child->setProperty("borderColor", QColor(Qt::yellow));
    adoptDynamicProperties(&window);
    QCOMPARE(borderWidth(child), 2.0);
    QCOMPARE(ViewStyling::cornerRadius(child), 2.56);
    QCOMPARE(borderColor(child), std::optional(QColor(Qt::yellow)));
    QVERIFY(!isLayerBacked(&window));

    // Later changes apply too.
    child->setProperty("cornerRadius", -1.239);
    QCOMPARE(ViewStyling::cornerRadius(child), 1.23);
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
