// Compiles the generated Windows resource script with the MinGW resource compiler and reads the
// compiled resource back: the version data must hold every string and number the program
// names itself with, and the icon must be the hamburger icon.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int rtIcon = 3;
constexpr int rtGroupIcon = 14;
constexpr int rtVersion = 16;

// Little-endian numbers; bytes past the end read as 0, so a short file fails the checks rather
// than reading beyond its data.
quint32 u32(const QByteArray &b, qsizetype at)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | (at + i < b.size() ? uchar(b.at(at + i)) : 0u);
    return value;
}

quint16 u16(const QByteArray &b, qsizetype at)
{
    return quint16(u32(b, at) & 0xFFFF);
}

qsizetype alignedTo4(qsizetype at)
{
    return (at + 3) & ~qsizetype(3);
}

QByteArray utf16(const QString &text)
{
    QByteArray bytes;
    for (const QChar c : text)
        bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return bytes + QByteArray(2, '\0');
}

struct Resource
{
    int type; // numeric types only; the script names none by string
    QByteArray data;
};

// The entries of a 32-bit .res file: a header (sizes, type, name, flags) and the data, each
// aligned to four bytes.
QList<Resource> readRes(const QByteArray &res)
{
    QList<Resource> resources;
    qsizetype at = 0;
    while (at + 8 <= res.size()) {
        const quint32 dataSize = u32(res, at);
        const quint32 headerSize = u32(res, at + 4);
        const int type = u16(res, at + 8) == 0xFFFF ? u16(res, at + 10) : -1;
        resources.append({type, res.mid(at + headerSize, dataSize)});
        at = alignedTo4(at + headerSize + dataSize);
    }
    return resources;
}

// The value of a string in the version data: the key, its terminating zero, padding to four
// bytes, then the value.
QString versionString(const QByteArray &version, const QString &key)
{
    const QByteArray keyBytes = utf16(key);
    const qsizetype found = version.indexOf(keyBytes);
    if (found < 0)
        return QStringLiteral("<missing>");
    qsizetype at = alignedTo4(found + keyBytes.size());
    QString value;
    for (; at + 1 < version.size() && u16(version, at) != 0; at += 2)
        value += QChar(u16(version, at));
    return value;
}

} // namespace

class WindowsResourceTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void versionNumbers();
    void versionStrings_data();
    void versionStrings();
    void languageAndCodePage();
    void iconIsTheHamburger();

private:
    QByteArray m_version;
    QList<Resource> m_resources;
};

void WindowsResourceTest::initTestCase()
{
    const QString windres = QStringLiteral(PELMORA_WINDRES);
    QVERIFY2(!windres.isEmpty() && QFile::exists(windres),
             "x86_64-w64-mingw32-windres is missing: run tools/install-deps");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString output = dir.filePath(QStringLiteral("pelmora.res"));
    QProcess compiler;
    compiler.start(windres, {QStringLiteral("--preprocessor=cpp"), QStringLiteral("-O"),
                             QStringLiteral("res"), QStringLiteral(PELMORA_RC_FILE), output});
    QVERIFY(compiler.waitForFinished(60000));
    QVERIFY2(compiler.exitCode() == 0, compiler.readAllStandardError().constData());

    QFile res(output);
    QVERIFY(res.open(QIODevice::ReadOnly));
    m_resources = readRes(res.readAll());
    for (const Resource &r : m_resources)
        if (r.type == rtVersion)
            m_version = r.data;
    QVERIFY2(!m_version.isEmpty(), "no version resource");
}

void WindowsResourceTest::versionNumbers()
{
    const QByteArray signature("\xBD\x04\xEF\xFE", 4);
    const qsizetype fixed = m_version.indexOf(signature);
    QVERIFY(fixed > 0);
    QCOMPARE(u32(m_version, fixed + 8), 0x00010000u);  // file version 1.0
    QCOMPARE(u32(m_version, fixed + 12), 0x00000000u); // .0.0
    QCOMPARE(u32(m_version, fixed + 16), 0x00010000u); // product version 1.0
    QCOMPARE(u32(m_version, fixed + 20), 0x00000000u);
    QCOMPARE(u32(m_version, fixed + 32), 0x00040004u); // for 32-bit Windows NT
    QCOMPARE(u32(m_version, fixed + 36), 1u);          // an application, not a library
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
    QCOMPARE(versionString(m_version, key), value);
}

void WindowsResourceTest::languageAndCodePage()
{
    QVERIFY(m_version.contains(utf16(QStringLiteral("040904B0"))));
    const qsizetype translation = m_version.indexOf(utf16(QStringLiteral("Translation")));
    QVERIFY(translation > 0);
    const qsizetype value = alignedTo4(translation + utf16(QStringLiteral("Translation")).size());
    QCOMPARE(u16(m_version, value), quint16(0x0409));
    QCOMPARE(u16(m_version, value + 2), quint16(1200));
}

void WindowsResourceTest::iconIsTheHamburger()
{
    QFile ico(QStringLiteral(PELMORA_ICO_FILE));
    QVERIFY(ico.open(QIODevice::ReadOnly));
    const QByteArray icoBytes = ico.readAll();
    const QByteArray picture = icoBytes.mid(u32(icoBytes, 6 + 12), u32(icoBytes, 6 + 8));

    int icons = 0, groups = 0;
    for (const Resource &r : m_resources) {
        if (r.type == rtIcon) {
            ++icons;
            QCOMPARE(r.data, picture);
        }
        groups += r.type == rtGroupIcon;
    }
    QCOMPARE(icons, 1);
    QCOMPARE(groups, 1);
}

QTEST_GUILESS_MAIN(WindowsResourceTest)
#include "windows_resource_test.moc"
