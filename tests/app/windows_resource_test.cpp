// Compiles the generated Windows resource script with the MinGW resource compiler and reads
// back what it compiled, decoded to text by the same tool: the version data must hold every
// string and number the program names itself with, and the icon must be the hamburger icon.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

class WindowsResourceTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void versionNumbers_data();
    void versionNumbers();
    void versionStrings_data();
    void versionStrings();
    void languageAndCodePage();
    void iconIsTheHamburger();

private:
    // The text between the header comment of the resource of this type and the next one.
    QString section(const QString &type) const;

    QString m_decoded;
};

void WindowsResourceTest::initTestCase()
{
    const QString windres = QStringLiteral(PELMORA_WINDRES);
    QVERIFY2(!windres.isEmpty() && QFile::exists(windres),
             "x86_64-w64-mingw32-windres is missing: run tools/install-deps");
    QProcess compiler;
    compiler.start(windres, {QStringLiteral("--preprocessor=cpp"), QStringLiteral("-J"),
                             QStringLiteral("rc"), QStringLiteral("-O"), QStringLiteral("rc"),
                             QStringLiteral(PELMORA_RC_FILE)});
    QVERIFY(compiler.waitForFinished(60000));
    QVERIFY2(compiler.exitCode() == 0, compiler.readAllStandardError().constData());
    m_decoded = QString::fromUtf8(compiler.readAllStandardOutput());
    QVERIFY2(!section(QStringLiteral("version")).isEmpty(), "no version resource");
}

QString WindowsResourceTest::section(const QString &type) const
{
    const QString header = QStringLiteral("/* Type: %1\n").arg(type);
    const qsizetype start = m_decoded.indexOf(header);
    if (start < 0)
        return {};
    const qsizetype end = m_decoded.indexOf(QStringLiteral("/* Type: "), start + header.size());
    return m_decoded.mid(start, end < 0 ? -1 : end - start);
}

void WindowsResourceTest::versionNumbers_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::newRow("file version") << "FILEVERSION"
                                  << "1, 0, 0, 0";
    QTest::newRow("product version") << "PRODUCTVERSION"
                                     << "1, 0, 0, 0";
    QTest::newRow("for 32-bit Windows NT") << "FILEOS"
                                           << "0x40004";
    QTest::newRow("an application, not a library") << "FILETYPE"
                                                   << "0x1";
}

void WindowsResourceTest::versionNumbers()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    const QRegularExpression line(QStringLiteral("^ *%1 (.*)$").arg(field),
                                  QRegularExpression::MultilineOption);
    QCOMPARE(line.match(section(QStringLiteral("version"))).captured(1), value);
}

void WindowsResourceTest::versionStrings_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    const QString web = QStringLiteral("www.pelmora.example");
    QTest::newRow("FileVersion") << "FileVersion"
                                 << "1.00";
    QTest::newRow("ProductVersion") << "ProductVersion"
                                    << "1.00";
    for (const char *key : {"ProductName", "FileDescription", "Comments", "InternalName"})
        QTest::newRow(key) << QString::fromLatin1(key) << "Pelmora";
    QTest::newRow("OriginalFilename") << "OriginalFilename"
                                      << "Pelmora.exe";
    for (const char *key : {"CompanyName", "LegalCopyright", "LegalTrademarks"})
        QTest::newRow(key) << QString::fromLatin1(key) << web;
}

void WindowsResourceTest::versionStrings()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    const QRegularExpression entry(QStringLiteral("VALUE \"%1\", \"([^\"]*)\"").arg(key));
    const auto matches = entry.globalMatch(section(QStringLiteral("version")));
    QStringList values;
    for (const auto &match : matches)
        values << match.captured(1);
    QCOMPARE(values, QStringList{value});
}

void WindowsResourceTest::languageAndCodePage()
{
    const QString version = section(QStringLiteral("version"));
    QVERIFY(version.contains(QStringLiteral("BLOCK \"040904B0\"")));
    QVERIFY(version.contains(QStringLiteral("VALUE \"Translation\", 0x409, 1200\n")));
}

void WindowsResourceTest::iconIsTheHamburger()
{
    QFile ico(QStringLiteral(PELMORA_ICO_FILE));
    QVERIFY(ico.open(QIODevice::ReadOnly));
    const QByteArray icoBytes = ico.readAll();
    // Little-endian, read byte by byte: a short file reads as zeros rather than past its end.
    const auto u32 = [&](qsizetype at) {
        quint32 value = 0;
        for (qsizetype i = at + 3; i >= at; --i)
            value = (value << 8) | (i < icoBytes.size() ? uchar(icoBytes.at(i)) : 0u);
        return value;
    };
    const QByteArray picture = icoBytes.mid(u32(6 + 12), u32(6 + 8));

    // The icon's data comes out as little-endian 32-bit words ("0x28L"), the last one short.
    const QString icon = section(QStringLiteral("icon"));
    QVERIFY(icon.contains(QStringLiteral("/* RT_ICON */")));
    QByteArray data;
    const QRegularExpression word(QStringLiteral("0x([0-9a-f]+)L"));
    for (const auto &match : word.globalMatch(icon)) {
        const quint32 value = match.captured(1).toUInt(nullptr, 16);
        for (int byte = 0; byte < 4; ++byte)
            data.append(char((value >> (8 * byte)) & 0xFF));
    }
    QCOMPARE(data.left(picture.size()), picture);
    QVERIFY(data.size() - picture.size() < 4);
    QCOMPARE(m_decoded.count(QStringLiteral("/* RT_ICON */")), 1);
    QCOMPARE(m_decoded.count(QStringLiteral("/* RT_GROUP_ICON */")), 1);
}

QTEST_GUILESS_MAIN(WindowsResourceTest)
#include "windows_resource_test.moc"
