#include "AppSuite.h"
#include "ImageDropView.h"
#include "SelectionHolder.h"
#include "TimelineSlider.h"
#include "media/FileProbe.h"
#include "util/TimeText.h"

#include <QApplication>
#include <QCheckBox>

using namespace Qt::StringLiterals;

// The selection by hand in the real window on the offscreen platform: keys,
// drags, typed numbers, presets, trims and Detect Borders, each checked in
// the crop the encoder is given.
class TestSelection : public AppSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void selectionByHand_data();
    void selectionByHand();
    void beyondTheCrop_data();
    void beyondTheCrop();
    void changeChainsResetTheScale();
    void scrubbing();
    void handlesInTheWindow();
    void motionMapAndGuides();
    void keyframesAndUndo();
};

void TestSelection::initTestCase()
{
    makeFiles({ u"hd"_s, u"moving box"_s, u"pal"_s, u"film"_s, u"minute"_s, u"rotated"_s, u"tape"_s, u"long"_s });
}

void TestSelection::selectionByHand_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("hands");
    QTest::addColumn<QString>("crop"); // in the command run; empty: the one the label and fields show

    QTest::newRow("Right five times") << u"hd"_s << u"Right ×5"_s << u"crop=1600:900:170:90"_s;
    QTest::newRow("Shift+Right three times") << u"hd"_s << u"Shift+Right ×3"_s << u"crop=1600:900:220:90"_s;
    QTest::newRow("Alt+Down: the bottom edge") << u"hd"_s << u"Alt+Down ×2"_s << u"crop=1600:904:160:90"_s;
    QTest::newRow("corner dragged far past the picture's") << u"hd"_s << u"drag"_s << u"crop=1760:990:160:90"_s;
    QTest::newRow("window resized: the crop stays") << u"hd"_s << u"resize"_s << u"crop=1600:900:160:90"_s;
    QTest::newRow("typed past the frame: corrected") << u"hd"_s << u"type 5000 900"_s << u"crop=1920:900:0:90"_s;
    QTest::newRow("PAL 16:9 preset at half scale") << u"pal"_s << u"scale 50"_s
                                                   << u"crop=600:480:60:48,scale=300:240,setsar=64/45"_s;
}

void TestSelection::selectionByHand()
{
    QFETCH(QString, file);
    QFETCH(QString, hands);
    QFETCH(QString, crop);

    // Where only the command matters, a stand-in takes it instead of encoding.
    AppDriver app(m_work->path(), file == u"hd" ? misbehavingEncoder("exit 0") : AppDelegate::Tools::bundled());
    QVERIFY(app.open(m_files[file]));
    const QString times = hands.section(u'×', 1);
    const QString key = hands.section(u' ', 0, 0);
    if (!times.isEmpty()) {
        for (int i = 0; i < times.toInt(); ++i)
            press(app, key);
    } else if (hands == u"drag") {
        auto *holder = app.control<QWidget>("selectionRectangleHolder");
        const QPoint corner = app.control<QWidget>("selectionRectangle")->geometry().bottomRight() - QPoint(1, 1);
        QTest::mousePress(holder, Qt::LeftButton, {}, corner);
        for (const QPoint far : { QPoint(100, 100), QPoint(600, 500), QPoint(2000, 2000) })
            QTest::mouseMove(holder, corner + far);
        QTest::mouseRelease(holder, Qt::LeftButton, {}, corner + QPoint(2000, 2000));
    } else if (hands.startsWith(u"type")) {
        const std::pair<const char *, QString> typed[] = { { "widthField", hands.section(u' ', 1, 1) },
                                                          { "heightField", hands.section(u' ', 2, 2) } };
        for (const auto &[name, value] : typed) {
            auto *field = app.control<QSpinBox>(name);
            field->setFocus();
            field->selectAll();
            QTest::keyClicks(field, value);
            QTest::keyClick(field, Qt::Key_Return);
        }
    } else if (hands == u"scale 50") {
        app.control<QSlider>("scaleFactorSlider")->setValue(50);
    } else if (hands == u"resize") {
        app.window()->resize(700, 520);
        QTest::qWait(50);
        verifyPlacedOverThePicture(app);
    }
    // What the window shows is what is written.
    const QString shown = u"crop=%1:%2:%3:%4"_s.arg(app.control<QSpinBox>("widthField")->value())
                              .arg(app.control<QSpinBox>("heightField")->value())
                              .arg(app.control<QSpinBox>("xField")->value())
                              .arg(app.control<QSpinBox>("yField")->value());
    const QString written = app.cropFilterOf(m_work->filePath(u"out/Cropped.mp4"_s));
    QCOMPARE(written, crop);
    if (file == u"hd") {
        QCOMPARE(shown, crop);
        if (hands.contains(u"5000"_s))
            QVERIFY(app.window()->statusBar()->currentMessage().startsWith(u"Width 5000 became 1920"_s));
        QCOMPARE(label(app, "outputResolutionTF")->text(),
                 u"Cropped: %1 x %2"_s.arg(crop.section(u':', 0, 0).mid(5), crop.section(u':', 1, 1)));
        return;
    }
    // The viewer sees the preset's 16:9 in the output, scaled or not.
    const QStringList aspect = Fixtures::probed(m_work->filePath(u"out/Cropped.mp4"_s),
                                                { u"-show_entries"_s, u"stream=display_aspect_ratio"_s })
                                   .split(u':');
    QVERIFY(qAbs(aspect.value(0).toDouble() / aspect.value(1).toDouble() / (16.0 / 9) - 1) < 0.01);
    QCOMPARE(label(app, "outputResolutionTF")->text(), u"Cropped: 854 x 480 → 428 x 240"_s);
}

void TestSelection::beyondTheCrop_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QRect>("crop"); // from the video's frame; empty: the one the fields show
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("seconds");

    QTest::newRow("a 2.39:1 film letterboxed: Ctrl+B, Ctrl+S, Return")
        << u"film"_s << u"Ctrl+B"_s << QRect(0, 138, 1920, 804) << 0.0 << 2.0;
    // A minute's posters are five seconds apart: the third shows 15 s, the ninth 45 s.
    QTest::newRow("trimmed from the poster at 15 s to the one at 45 s")
        << u"minute"_s << u", , , I . . . . . . O"_s << QRect() << 15.0 << 30.0;
    // From 30 s; "rest": until the exact picture is shown. The last picture is at 59.96 s.
    QTest::newRow("trimmed where the scrubber rests, 42 s to 58.96 s")
        << u"minute"_s << u"} ] ] rest I } } [ rest O"_s << QRect() << 42.0 << 16.96;
    // From 10 s; a seek to Start would find a keyframe only at 12 s.
    QTest::newRow("an MPEG-2 tape trimmed inside a GOP, 9 s to 12 s")
        << u"tape"_s << u"[ rest I ] ] ] rest O"_s << QRect() << 9.0 << 3.0;
}

void TestSelection::beyondTheCrop()
{
    QFETCH(QString, file);
    QFETCH(QString, keys);
    QFETCH(QRect, crop);
    QFETCH(double, start);
    QFETCH(double, seconds);

    AppDriver app(m_work->path());
    const QString source = m_files.value(file);
    QVERIFY(app.open(source));
    QCOMPARE(app.window()->windowTitle(), QFileInfo(source).fileName());
    auto *end = app.control<QLineEdit>("endTF");
    if (file == u"minute") {
        // A time that cannot apply is corrected where it was typed, and said so.
        end->setFocus();
        end->selectAll();
        QTest::keyClicks(end, u"2:00"_s);
        QTest::keyClick(end, Qt::Key_Return);
        QCOMPARE(end->text(), u"00:01:00.000"_s);
        QVERIFY(app.window()->statusBar()->currentMessage().startsWith(u"End 2:00 became 00:01:00.000"_s));
        app.window()->setFocus();
    }
    for (const QString &key : keys.split(u' ')) {
        if (key == u"rest")
            QVERIFY(waitForScrubbedPicture(app));
        else
            press(app, key);
    }

    if (crop.isEmpty())
        crop = QRect(app.control<QSpinBox>("xField")->value(), app.control<QSpinBox>("yField")->value(),
                     app.control<QSpinBox>("widthField")->value(), app.control<QSpinBox>("heightField")->value());
    const QString output = m_work->filePath(u"out/Cropped.mp4"_s);
    app.cropTo(output);
    QMessageBox *alert = app.waitForCropEnd();
    QVERIFY(alert);
    const FileProbe made(output);
    QCOMPARE(alert->informativeText().section(u'\n', 2, 2), u"Output Duration: "_s + TimeText::format(made.duration()));
    const QSize size(made.videoWidth().value_or(0), made.videoHeight().value_or(0));
    QVERIFY2(qAbs(size.width() - crop.width()) <= 4 && qAbs(size.height() - crop.height()) <= 4,
             qPrintable(u"%1 x %2"_s.arg(size.width()).arg(size.height())));
    // Within a frame of the length asked for, and starting with the picture at Start.
    QVERIFY2(qAbs(Fixtures::videoFrameCount(output) - seconds * (file == u"film" ? 5 : 25)) <= 1,
             qPrintable(QString::number(Fixtures::videoFrameCount(output))));
    const QImage first = Fixtures::frameAt(output, u"0"_s);
    const QImage asked = Fixtures::frameAt(source, QString::number(start)).copy(crop);
    QVERIFY2(Fixtures::difference(first, asked) < 3, qPrintable(QString::number(Fixtures::difference(first, asked))));
}

void TestSelection::scrubbing()
{
    // The minute, at 25 pictures a second, from the middle poster at 30 s; after each key the
    // picture settles on the time shown.
    const std::pair<QString, QString> steps[] = {
        { u"]"_s, u"00:00:31.000"_s },
        { u"}"_s, u"00:00:41.000"_s }, // Shift+]
        { u"["_s, u"00:00:40.000 · 8 / 11"_s }, // a poster's place: the poster
        { u"{"_s, u"00:00:30.000 · 6 / 11"_s },
        { u"."_s, u"00:00:35.000 · 7 / 11"_s },
        { u"]"_s, u"00:00:36.000"_s },
        { u"End"_s, u"00:00:59.960"_s },
        { u","_s, u"00:00:55.000 · 11 / 11"_s },
        { u"Home"_s, u"00:00:00.000"_s },
        { u"."_s, u"00:00:05.000 · 1 / 11"_s },
        { u"{"_s, u"00:00:00.000"_s },
    };
    AppDriver app(m_work->path());
    QVERIFY(app.open(m_files[u"minute"_s]));
    QVERIFY(QTest::qWaitFor([&] { return app.control<QAction>("detectBordersBTN")->isEnabled(); }, 30'000));
    auto *shown = app.control<QLabel>("posterTimeLBL");
    for (const auto &[key, time] : steps) {
        press(app, key);
        QVERIFY2(QTest::qWaitFor([&] { return shown->text() == time; }, 10'000),
                 qPrintable(u"%1: %2, not %3"_s.arg(key, shown->text(), time)));
    }

    // Forty presses as a held key sends them: the time asked for counts each, whatever the pictures do.
    auto *slider = app.control<QSlider>("posterPositionSlider");
    press(app, u"Home"_s);
    for (int i = 0; i < 40; ++i)
        press(app, u"]"_s);
    QCOMPARE(slider->value(), 40'000);
    QVERIFY2(QTest::qWaitFor([&] { return shown->text().startsWith(u"00:00:40.000"_s); }, 10'000),
             qPrintable(shown->text()));
    // End, then O at once: the last picture's time, not a preview's.
    press(app, u"End"_s);
    press(app, u"O"_s);
    QCOMPARE(app.control<QLineEdit>("endTF")->text(), u"00:00:59.960"_s);

    // Too long to decode whole, with keyframes 10 s apart: three posters, each at its keyframe's time, and a
    // second on from the middle one is 11 s; I takes the time of the poster shown.
    QVERIFY(app.open(m_files[u"long"_s]));
    QCOMPARE(shown->text(), u"00:00:10.000 · 2 / 3"_s);
    press(app, u"I"_s);
    QCOMPARE(app.control<QLineEdit>("startTF")->text(), u"00:00:10.000"_s);
    press(app, u"]"_s);
    QVERIFY2(QTest::qWaitFor([&] { return shown->text() == u"00:00:11.000"_s; }, 10'000), qPrintable(shown->text()));

    // A turned video's pictures are turned as its posters are, and wide pixels widened.
    for (const QString &file : { u"rotated"_s, u"pal"_s }) {
        QVERIFY(app.open(m_files[file]));
        const QSize poster = QImage(app.control<ImageDropView>("posterView")->imagePath()).size();
        QTest::keyClick(app.window(), Qt::Key_BracketRight);
        QVERIFY(waitForScrubbedPicture(app));
        QCOMPARE(QImage(app.control<ImageDropView>("posterView")->imagePath()).size(), poster);
        QVERIFY(file == u"pal" ? poster.width() > 720 : poster.height() > poster.width());
    }
}

void TestSelection::changeChainsResetTheScale()
{
    AppDriver app(m_work->path());
    QVERIFY(app.open(m_files[u"hd"_s]));
    auto *scale = app.control<QSlider>("scaleFactorSlider");
    auto *holder = app.control<SelectionHolder>("selectionRectangleHolder");

    const QList<std::pair<const char *, std::function<void()>>> changes = {
        { "preset", [&] { choose(app.control<QComboBox>("presetPopUpBTN"), 1); } },
        { "ratio", [&] { choose(app.control<QComboBox>("aspectRationPopUpBTN"), 1); } },
        { "proportional", [&] { QTest::mouseClick(app.control<QCheckBox>("proportionalCBX"), Qt::LeftButton); } },
        { "wide/tall", [&] { QTest::mouseClick(app.control<QPushButton>("wideTallBTN"), Qt::LeftButton); } },
        { "drag", [&] {
             const QPoint middle = app.control<QWidget>("selectionRectangle")->geometry().center();
             QTest::mousePress(holder, Qt::LeftButton, {}, middle);
             QTest::mouseMove(holder, middle + QPoint(5, 5));
             QTest::mouseRelease(holder, Qt::LeftButton, {}, middle + QPoint(5, 5));
         } },
    };
    for (const auto &[name, change] : changes) {
        scale->setValue(50);
        QCOMPARE(label(app, "scaleFactorLBL")->text(), u"Scale Factor: 0.5x"_s);
        change();
        QVERIFY2(scale->value() == 100, name);
        QCOMPARE(label(app, "scaleFactorLBL")->text(), u"Scale Factor: 1.0x"_s);
    }
    QCOMPARE(app.control<QPushButton>("wideTallBTN")->text(), u"Tall"_s);
    // Wide/tall turned 4:3 into 3:4, at its largest preset; the move kept both.
    QCOMPARE(app.control<QComboBox>("aspectRationPopUpBTN")->currentText(), u"3:4"_s);
    QCOMPARE(app.control<QComboBox>("presetPopUpBTN")->currentText(), u"676x900"_s);
    QCOMPARE(label(app, "scaleFactorInputLBL")->text(), u"Cropped: 676 x 900"_s);
    // The proportional box is off now: resizing keeps the ratio.
    QVERIFY(holder->isProportional());
}

void TestSelection::keyframesAndUndo()
{
    AppDriver app(m_work->path());
    QVERIFY(app.open(m_files[u"long"_s]));
    auto *width = app.control<QSpinBox>("widthField");
    width->setFocus();
    width->selectAll();
    QTest::keyClicks(width, u"640"_s);
    QTest::keyClick(width, Qt::Key_Return);
    app.control<QWidget>("posterView")->setFocus();
    const auto state = [&] {
        return u"x %1, %2 keyframes, from %3"_s.arg(app.control<QSpinBox>("xField")->value())
            .arg(app.control<TimelineSlider>("posterPositionSlider")->keyframeMarks().size())
            .arg(app.control<QLineEdit>("startTF")->text());
    };
    // From the middle poster at 10 s, a step of the history at a time: each Ctrl+Z takes one back.
    const std::pair<QString, QString> steps[] = {
        { u"K"_s, u"x 72, 1 keyframes, from 00:00:00.000"_s },
        { u"]"_s, u"x 72, 1 keyframes, from 00:00:00.000"_s },
        { u"Right"_s, u"x 74, 2 keyframes, from 00:00:00.000"_s }, // moved at another time: a keyframe there
        { u"Right"_s, u"x 76, 2 keyframes, from 00:00:00.000"_s }, // at a keyframe: moved with it
        { u"Home"_s, u"x 72, 2 keyframes, from 00:00:00.000"_s },  // before the first: held
        { u"I"_s, u"x 72, 2 keyframes, from 00:00:00.000"_s },
        { u"}"_s, u"x 72, 2 keyframes, from 00:00:00.000"_s },     // the first keyframe's time
        { u"}"_s, u"x 76, 2 keyframes, from 00:00:00.000"_s },     // after the last: held
        { u"I"_s, u"x 76, 2 keyframes, from 00:00:20.000"_s },
        { u"Ctrl+Z"_s, u"x 76, 2 keyframes, from 00:00:00.000"_s },
        { u"Ctrl+Z"_s, u"x 74, 2 keyframes, from 00:00:00.000"_s },
        { u"Ctrl+Z"_s, u"x 72, 1 keyframes, from 00:00:00.000"_s },
        { u"Ctrl+Shift+Z"_s, u"x 74, 2 keyframes, from 00:00:00.000"_s },
        { u"Ctrl+Shift+Z"_s, u"x 76, 2 keyframes, from 00:00:00.000"_s },
        { u"Home"_s, u"x 72, 2 keyframes, from 00:00:00.000"_s },
        { u"Del"_s, u"x 72, 2 keyframes, from 00:00:00.000"_s },   // no keyframe here
        { u"."_s, u"x 72, 2 keyframes, from 00:00:00.000"_s },
        { u"Del"_s, u"x 72, 1 keyframes, from 00:00:00.000"_s },
        { u"Ctrl+Z"_s, u"x 72, 2 keyframes, from 00:00:00.000"_s },
    };
    for (const auto &[key, expected] : steps) {
        press(app, key);
        QVERIFY2(QTest::qWaitFor([&] { return state() == expected; }, 5'000),
                 qPrintable(u"%1: %2, not %3"_s.arg(key, state(), expected)));
    }
    // The crop written moves as shown.
    QVERIFY(app.cropFilterOf(m_work->filePath(u"out/Moving.mp4"_s)).startsWith(u"crop=w=640:h=640:x='2*round("_s));
}

void TestSelection::handlesInTheWindow()
{
    AppDriver app(m_work->path());
    QVERIFY(app.open(m_files[u"hd"_s]));
    app.activate();
    auto *holder = app.control<SelectionHolder>("selectionRectangleHolder");
    auto *ratios = app.control<QComboBox>("aspectRationPopUpBTN");
    auto *presets = app.control<QComboBox>("presetPopUpBTN");
    auto *widthField = app.control<QSpinBox>("widthField");
    const auto crop = [&] {
        return QRect(app.control<QSpinBox>("xField")->value(), app.control<QSpinBox>("yField")->value(),
                     widthField->value(), app.control<QSpinBox>("heightField")->value());
    };
    const auto shown = [&] { return app.control<QWidget>("selectionRectangle")->geometry(); };
    // The left edge pressed at 15 % of its height moves alone.
    const QPoint edge(shown().left(), shown().top() + shown().height() * 15 / 100);
    QTest::mousePress(holder, Qt::LeftButton, {}, edge);
    QTest::mouseMove(holder, edge + QPoint(40, 0));
    QTest::mouseRelease(holder, Qt::LeftButton, {}, edge + QPoint(40, 0));
    QVERIFY2(crop().x() > 160 && crop().x() + crop().width() == 1760, qPrintable(QDebug::toString(crop())));
    QCOMPARE(ratios->currentIndex(), -1);
    QCOMPARE(ratios->placeholderText(), u"Custom"_s);

    // Alt+Left repeated, the right edge stops at the minimum, and the status bar says why.
    choose(presets, 0);
    for (int i = 0; i < 100; ++i)
        QTest::keyClick(app.window(), Qt::Key_Left, Qt::AltModifier | Qt::ShiftModifier);
    QVERIFY2(crop().width() <= 16, qPrintable(QDebug::toString(crop())));
    QCOMPARE(app.window()->statusBar()->currentMessage(), u"The crop cannot be smaller than 16 x 16."_s);

    // After a typed number, a click on the picture, or Escape in a field, gives the arrows back.
    for (const bool escape : { false, true }) {
        widthField->setFocus();
        widthField->selectAll();
        QTest::keyClicks(widthField, u"300"_s);
        QTest::keyClick(widthField, Qt::Key_Return);
        if (escape)
            QTest::keyClick(widthField, Qt::Key_Escape);
        else
            QTest::mouseClick(holder, Qt::LeftButton, {}, shown().center());
        QCOMPARE(QApplication::focusWidget(), holder);
        const int x = crop().x();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
        QCOMPARE(crop().x(), x - 2);
        QCOMPARE(widthField->value(), 300);
    }
}

void TestSelection::motionMapAndGuides()
{
    AppDriver app(m_work->path());
    QVERIFY(app.open(m_files[u"moving box"_s]));
    auto *holder = app.control<SelectionHolder>("selectionRectangleHolder");
    auto *rectangle = app.control<QWidget>("selectionRectangle");
    // The selection in the right half, away from the box.
    for (const auto &[name, value] : { std::pair("widthField", u"600"_s), std::pair("xField", u"660"_s) }) {
        auto *field = app.control<QSpinBox>(name);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, value);
        QTest::keyClick(field, Qt::Key_Return);
    }
    QCOMPARE(app.control<QSpinBox>("xField")->value(), 660);
    app.activate();
    const QImage plain = holder->grab().toImage();
    QTest::keyClick(app.window(), Qt::Key_M);
    QTRY_VERIFY(holder->grab().toImage() != plain);
    // Said with a time while the box moves.
    QTRY_VERIFY(!app.window()->statusBar()->currentMessage().isEmpty());
    const QString said = app.window()->statusBar()->currentMessage();
    QVERIFY2(said.startsWith(u"Moving picture outside the crop around 00:00:0"_s), qPrintable(said));
    QVERIFY2(said.right(1).toInt() <= 5, qPrintable(said));
    // J goes to that moment.
    QTest::keyClick(app.window(), Qt::Key_J);
    QTRY_VERIFY(app.control<QLabel>("posterTimeLBL")->text().startsWith(said.right(8)));

    const QPoint third(rectangle->width() / 3, rectangle->height() / 2 + 5);
    const QColor before = rectangle->grab().toImage().pixelColor(third);
    QTest::keyClick(app.window(), Qt::Key_G);
    QVERIFY(rectangle->grab().toImage().pixelColor(third) != before);
}

QTEST_MAIN(TestSelection)
#include "tst_selection.moc"
