#include "support/Fixtures.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

// What the desktop reads of Tessaly: the catalogue of the German interface,
// the desktop entry and the AppStream metainfo, each as the desktop's own
// tools check them.
class TestDesktop : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyStringHasAGermanEntry();
    void validated_data();
    void validated();
};

namespace {

const QString sources = QStringLiteral(TESSALY_SOURCE_DIR);

// Runs program; its exit code, with what it wrote after it.
QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120'000))
        return u"did not finish: "_s + process.errorString();
    return QString::number(process.exitCode()) + u' ' + QString::fromUtf8(process.readAll());
}

} // namespace

void TestDesktop::everyStringHasAGermanEntry()
{
    // The catalogue brought up to date with the sources as they are now: a new
    // or changed string comes in unfinished.
    QTemporaryDir dir;
    const QString catalogue = dir.filePath(u"tessaly_de.ts"_s);
    QVERIFY(QFile::copy(sources + u"/resources/translations/tessaly_de.ts"_s, catalogue));
    QFile::setPermissions(catalogue, QFile::ReadOwner | QFile::WriteOwner);
    QStringList arguments { u"-silent"_s, u"-no-obsolete"_s, u"-locations"_s, u"none"_s, u"-extensions"_s,
                            u"cpp,ui"_s };
    for (const char *folder : { "app", "crop", "media", "selection", "util", "resources" })
        arguments << sources + u'/' + QString::fromLatin1(folder);
    const QString lupdate = run(QStringLiteral(TESSALY_LUPDATE), arguments << u"-ts"_s << catalogue);
    QVERIFY2(lupdate.startsWith(u"0 "_s), qPrintable(lupdate));

    // A message is untranslated when its translation is marked (unfinished, vanished) or empty.
    const QString text = QString::fromUtf8(Fixtures::readFile(catalogue));
    static const QRegularExpression untranslated(
        u"<source>([^<]*)</source>\\s*<translation(?: type=\"[a-z]+\"|>\\s*</translation)"_s);
    QStringList missing;
    for (auto it = untranslated.globalMatch(text); it.hasNext();)
        missing << it.next().captured(1);
    QVERIFY(text.count(u"<source>"_s) > 100);
    QVERIFY2(missing.isEmpty(), qPrintable(u"no German for\n"_s + missing.join(u'\n')));
}

void TestDesktop::validated_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("desktop entry") << u"desktop-file-validate"_s
                                   << QStringList { sources + u"/resources/app.tessaly.Tessaly.desktop"_s };
    QTest::newRow("AppStream metainfo") << u"appstreamcli"_s
                                        << QStringList { u"validate"_s, u"--no-net"_s,
                                                         sources + u"/resources/app.tessaly.Tessaly.metainfo.xml"_s };
}

void TestDesktop::validated()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    const QString verdict = run(program, arguments);
    QVERIFY2(verdict.startsWith(u"0 "_s), qPrintable(verdict));
}

QTEST_GUILESS_MAIN(TestDesktop)
#include "tst_desktop.moc"
