// The settings table's fixed defaults and fallbacks, against the texts the program must
// store: HTML templates byte for byte, the conversion window's font and colours, ramps.
#include "platform/SettingsStore.h"
#include "platform/SettingsTable.h"
#include "tests/support/TestEnvironment.h"

#include <QTest>

using namespace platform;
using testsupport::Store;

namespace {
const SettingDefinition& Key(const char* section, const char* key) {
    return Setting(QString::fromUtf8(section), QString::fromUtf8(key));
}
} // namespace

class TestSettingsTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { testsupport::ResetProcessValues(); }

    void textDefaults_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("expected"); // UTF-8 bytes
        const auto row = [](const char* s, const char* k, const QByteArray& v) {
            QTest::addRow("%s/%s", s, k) << QString::fromUtf8(s) << QString::fromUtf8(k) << v;
        };
        row("Conversion", "Charactor", " .,:;!IU0OQRB&%@");
        row("HTML", "Before",
            "<HTML><BODY BGCOLOR=\"#FFFFFF\">\r\n"
            "<FONT STYLE=\"font-size: 6px; line-height: 0.6\"><PRE>");
        row("HTML", "After", "</PRE></FONT>\r\n</BODY></HTML>");
        row("HTML", "BeforeHTML",
            "<HTML><BODY BGCOLOR=\"#FFFFFF\">\r\n<FONT SIZE=\"1\" STYLE=\"font-size: 2px\">"
            "<PRE STYLE=\"font-family: IPAGothic; line-height: 1\">");
        row("HTML", "AfterHTML", "</PRE></FONT>\r\n</BODY></HTML>");
        row("Text\\Font", "Name", "Terminal");
        row("Text\\Font", "Bold", "False");
        row("Text\\Font", "Itaric", "False");
        row("Text\\Font", "Strikethrough", "False");
        row("Text\\Font", "Underline", "False");
        row("Text\\Font", "Size", "4");
        row("Text\\Color", "BackColor", "-2147483643");
        row("Text\\Color", "ForeColor", "-2147483640");
        row("Window", "ToolBar", "True");
        row("Recent Files", "Max", "4");
    }
    void textDefaults() {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QByteArray, expected);
        const platform::SettingsStore empty;
        QCOMPARE(ReadText(empty, platform::Setting(section, key)).toUtf8(), expected);
    }

    void colours_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<quint32>("expected");
        QTest::newRow("absent") << QString() << 0x80000005u;
        QTest::newRow("red") << "255" << 0x000000FFu;
        QTest::newRow("white") << "16777215" << 0x00FFFFFFu;
        QTest::newRow("button face") << "-2147483633" << 0x8000000Fu;
        QTest::newRow("not a number") << "abc" << 0x80000005u;
        QTest::newRow("beyond RGB") << "16777216" << 0x80000005u;
        QTest::newRow("unknown system colour") << "-2147483600" << 0x80000005u;
        QTest::newRow("beyond 32 bits") << "4294967295" << 0x80000005u;
    }
    void colours() {
        QFETCH(QString, stored);
        QFETCH(quint32, expected);
        if (!stored.isNull())
            Store("Text\\Color", "BackColor", stored);
        const platform::SettingsStore store;
        QCOMPARE(ReadColour(store, Key("Text\\Color", "BackColor")), expected);
    }

    void foreColourFallsBackToWindowText() {
        Store("Text\\Color", "ForeColor", QStringLiteral("-1"));
        const platform::SettingsStore store;
        QCOMPARE(ReadColour(store, Key("Text\\Color", "ForeColor")), 0x80000008u);
    }

    void ramps_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("kept");
        QTest::newRow("one") << "#" << true;
        QTest::newRow("64") << QString(64, u'x') << true;
        QTest::newRow("65") << QString(65, u'x') << false;
        QTest::newRow("64 beyond the BMP") << QString::fromUtf8("🐈").repeated(64) << true;
        QTest::newRow("65 beyond the BMP") << QString::fromUtf8("🐈").repeated(65) << false;
        QTest::newRow("japanese") << QStringLiteral("　・：＋＃") << true;
        QTest::newRow("line feed") << QStringLiteral("ab\ncd") << false;
        QTest::newRow("carriage return") << QStringLiteral("ab\r") << false;
        QTest::newRow("tab") << QStringLiteral("a\tb") << false;
        QTest::newRow("nul") << QString(QChar(0)) + u'a' << false;
        QTest::newRow("delete") << QStringLiteral("a\x7F") << false;
    }
    void ramps() {
        QFETCH(QString, stored);
        QFETCH(bool, kept);
        Store("Conversion", "Charactor", stored);
        const platform::SettingsStore store;
        const QString read = ReadText(store, Key("Conversion", "Charactor"));
        QCOMPARE(read, kept ? stored : QStringLiteral(" .,:;!IU0OQRB&%@"));
        QCOMPARE(platform::IsUsableRamp(stored), kept);
    }

    void emptyRampIsUnusable() { QVERIFY(!platform::IsUsableRamp(QString())); }
};

GLYFORA_TEST_MAIN(TestSettingsTable)
#include "tst_settings_table.moc"
