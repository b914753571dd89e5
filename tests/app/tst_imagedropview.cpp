#include "ImageDropView.h"
#include "support/Fixtures.h"

#include <QApplication>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestImageDropView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void drags_data();
    void drags();

private:
    QTemporaryDir m_dir;
    QString m_file;
    QString m_other;
};

void TestImageDropView::initTestCase()
{
    m_file = Fixtures::writeFile(m_dir.filePath(u"clip.mp4"_s), "video");
    m_other = Fixtures::writeFile(m_dir.filePath(u"other.mov"_s), "video");
    QVERIFY(!m_file.isEmpty() && !m_other.isEmpty());
}

void TestImageDropView::drags_data()
{
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("announced"); // empty: nothing

    QTest::newRow("a file") << QList<QUrl> { QUrl::fromLocalFile(m_file) } << QString() << true << m_file;
    QTest::newRow("a folder") << QList<QUrl> { QUrl::fromLocalFile(m_dir.path()) } << QString() << false
                              << QString();
    QTest::newRow("several files: the first counts")
        << QList<QUrl> { QUrl::fromLocalFile(m_other), QUrl::fromLocalFile(m_file) } << QString() << true << m_other;
    QTest::newRow("a folder first") << QList<QUrl> { QUrl::fromLocalFile(m_dir.path()), QUrl::fromLocalFile(m_file) }
                                    << QString() << false << QString();
    QTest::newRow("a missing file") << QList<QUrl> { QUrl::fromLocalFile(m_dir.filePath(u"gone.mp4"_s)) }
                                    << QString() << false << QString();
    QTest::newRow("a web link") << QList<QUrl> { QUrl(u"https://example.com/clip.mp4"_s) } << QString() << false
                                << QString();
    QTest::newRow("plain text") << QList<QUrl>() << m_file << false << QString();
}

void TestImageDropView::drags()
{
    QFETCH(QList<QUrl>, urls);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(QString, announced);

    ImageDropView view;
    QSignalSpy announcements(&view, &ImageDropView::fileAddedByDragAndDrop);
    QMimeData data;
    if (!urls.isEmpty())
        data.setUrls(urls);
    if (!text.isEmpty())
        data.setText(text);

    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&view, &enter);
    QCOMPARE(enter.isAccepted(), accepted);
    if (accepted) {
        QCOMPARE(enter.dropAction(), Qt::CopyAction);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&view, &drop);
        QVERIFY(drop.isAccepted());
    }
    QCOMPARE(announcements.count(), announced.isEmpty() ? 0 : 1);
    if (!announced.isEmpty()) {
        QCOMPARE(announcements.first().first().toUrl(), QUrl::fromLocalFile(announced));
        QCOMPARE(view.filePath(), std::optional(announced));
    }
}

QTEST_MAIN(TestImageDropView)
#include "tst_imagedropview.moc"
