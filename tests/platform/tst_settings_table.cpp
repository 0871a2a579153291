// The settings table's fixed defaults, against the texts the program must store (HTML
// templates byte for byte, the conversion window's font and colours), and each stored text
// read as the program uses it: what a key's kind cannot use falls back to its default.
#include "platform/SettingsStore.h"
#include "platform/SettingsTable.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QMap>
#include <QTest>

using namespace platform;

namespace {
// The key a settings file spells so.
Setting Key(const QString& section, const QString& key) {
    for (const SettingDefinition& s : SettingsTable()) {
        if (s.section == section && s.key == key)
            return s.id;
    }
    qFatal("no key %s/%s in the table", qPrintable(section), qPrintable(key));
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
        QCOMPARE(ReadText(empty, Key(section, key)).toUtf8(), expected);
    }

    // Every key read back, in text form, after each text its kind cannot use, and after the
    // edge texts its own range decides on; a computed default (window edges) reads as
    // "fallback".
    void storedTextReadsAsUsed_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected");
        struct Row {
            const char* section;
            const char* key;
            const char* stored;
            const char* expected;
        };
        const auto row = [](const Row& r, const QString& stored) {
            QTest::addRow("%s/%s \"%s\"", r.section, r.key, qPrintable(stored))
                << QString::fromUtf8(r.section) << QString::fromUtf8(r.key) << stored
                << QString::fromUtf8(r.expected);
        };
        using K = SettingKind;
        const QString cat = QString::fromUtf8("🐈");
        const QMap<K, QStringList> unusable = {
            {K::Integer, {"abc", "", "1e999", "1e300", "nan", "-99999999999"}},
            {K::Single, {"abc", "", "1e999", "1e39", "inf", "nan", "1.5.2"}},
            {K::Boolean, {"abc", "", "1e999", "yes?", "maybe"}},
            {K::Ramp,
             {"", "ab\ncd", "ab\r", "a\tb", QChar(0) + QStringLiteral("a"), "a\x7f",
              QString(65, u'x'), cat.repeated(65)}},
            {K::Colour,
             {"abc", "", "1e999", "1.5.2", "-99999999999", "4294967295", "4294967296", "16777216",
              "-2147483647", "-2147483600"}},
        };
        // The default of each key, as the program must use it.
        const Row defaults[] = {
            {"Conversion", "X", nullptr, "1"},
            {"Conversion", "Y", nullptr, "1"},
            {"Conversion", "Reverse", nullptr, "False"},
            {"Conversion", "Charactor", nullptr, " .,:;!IU0OQRB&%@"},
            {"Conversion", "Style", nullptr, "0"},
            {"Conversion", "Luminance", nullptr, "False"},
            {"Conversion", "Dither", nullptr, "True"},
            {"Recent Files", "Max", nullptr, "4"},
            {"Window", "Left", nullptr, "fallback"},
            {"Window", "Top", nullptr, "fallback"},
            {"Window", "Height", nullptr, "fallback"},
            {"Window", "Width", nullptr, "fallback"},
            {"Window", "ToolBar", nullptr, "True"},
            {"Window", "StatusBar", nullptr, "True"},
            {"Text\\Window", "Left", nullptr, "fallback"},
            {"Text\\Window", "Top", nullptr, "fallback"},
            {"Text\\Window", "Height", nullptr, "fallback"},
            {"Text\\Window", "Width", nullptr, "fallback"},
            {"Text\\Font", "Bold", nullptr, "False"},
            {"Text\\Font", "Itaric", nullptr, "False"},
            {"Text\\Font", "Strikethrough", nullptr, "False"},
            {"Text\\Font", "Underline", nullptr, "False"},
            {"Text\\Font", "Size", nullptr, "4"},
            {"Text\\Color", "BackColor", nullptr, "-2147483643"},
            {"Text\\Color", "ForeColor", nullptr, "-2147483640"},
        };
        for (const Row& key : defaults) {
            const K kind =
                Definition(Key(QString::fromUtf8(key.section), QString::fromUtf8(key.key))).kind;
            for (const QString& text : unusable.value(kind))
                row(key, text);
        }
        // What each key's own range keeps and what it refuses.
        const Row edges[] = {
            {"Conversion", "X", "0", "1"},
            {"Conversion", "X", "11", "1"},
            {"Conversion", "X", "10", "10"},
            {"Conversion", "Y", " 7 ", "7"},
            {"Conversion", "Y", "2.5", "2"},                   // half to even
            {"Conversion", "Reverse", "-99999999999", "True"}, // any non-zero number
            {"Conversion", "Reverse", "true", "True"},
            {"Conversion", "Style", "3", "0"},
            {"Conversion", "Style", "-1", "0"},
            {"Conversion", "Style", "2", "2"},
            {"Conversion", "Style", "1", "1"},
            {"Conversion", "Luminance", "True", "True"},
            {"Conversion", "Dither", "False", "False"},
            {"Conversion", "Dither", "0", "False"},
            {"Recent Files", "Max", "21", "4"},
            {"Recent Files", "Max", "-1", "4"},
            {"Recent Files", "Max", "0", "0"},
            {"Recent Files", "Max", "20", "20"},
            {"Window", "Left", "-1500", "-1500"},
            {"Text\\Window", "Top", "-120.5", "-120.5"},
            {"Window", "Left", "1e30", "fallback"}, // beyond 32 bits of twips
            {"Text\\Window", "Width", "-1e30", "fallback"},
            {"Window", "Top", "-2000000000", "-2e+09"},
            {"Window", "ToolBar", "0", "False"},
            {"Window", "StatusBar", "fALSE", "False"},
            {"Text\\Font", "Bold", "True", "True"},
            {"Text\\Font", "Size", "0", "4"},
            {"Text\\Font", "Size", "-3", "4"},
            {"Text\\Font", "Size", "2049", "4"},
            {"Text\\Font", "Size", "10.5", "10.5"},
            {"Text\\Color", "BackColor", "255", "255"},
            {"Text\\Color", "BackColor", "-2147483633", "-2147483633"}, // button face
            {"Text\\Color", "BackColor", "-2147483640", "-2147483640"},
            {"Text\\Color", "ForeColor", "16777215", "16777215"},
            {"Text\\Color", "ForeColor", "-1", "-2147483640"},
            {"Conversion", "Charactor", "#", "#"},
            {"Conversion", "Charactor", "　・：＋＃", "　・：＋＃"},
            {"Conversion", "Charactor", " \u2028#", " .,:;!IU0OQRB&%@"}, // line separator
            {"Conversion", "Charactor", " \u2029#", " .,:;!IU0OQRB&%@"}, // paragraph separator
            {"Conversion", "Charactor", " \u0085#", " .,:;!IU0OQRB&%@"}, // next line (C1)
            {"HTML", "Before", "", ""},                                  // any text, even none
        };
        for (const Row& edge : edges)
            row(edge, QString::fromUtf8(edge.stored));
        // Ramps are counted in characters, not in bytes or UTF-16 units.
        for (const QString& ramp :
             {QString(64, u'x'), QString(64, QChar(0x3042)), cat.repeated(64)})
            QTest::addRow("Conversion/Charactor %lld x U+%04X", qlonglong(ramp.size()),
                          ramp.at(0).unicode())
                << QStringLiteral("Conversion") << QStringLiteral("Charactor") << ramp << ramp;
    }
    void storedTextReadsAsUsed() {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        const Setting setting = Key(section, key);
        SettingsStore store;
        store.Write(section, key, stored);
        QString read;
        switch (Definition(setting).kind) {
        case SettingKind::Integer:
            read = QString::number(ReadInteger(store, setting));
            break;
        case SettingKind::Boolean:
            read = ReadBoolean(store, setting) ? QStringLiteral("True") : QStringLiteral("False");
            break;
        case SettingKind::Single: {
            const float value = ReadSingle(store, setting, 123.25f);
            read = value == 123.25f ? QStringLiteral("fallback") : QString::number(value);
            break;
        }
        case SettingKind::Ramp:
        case SettingKind::Text:
            read = ReadText(store, setting);
            break;
        case SettingKind::Colour:
            read = QString::number(qint32(ReadColour(store, setting)));
            break;
        }
        QCOMPARE(read, expected);
    }

    // One key of each kind written through its typed write, and the settings file as it then
    // reads: a subgroup's key under its first part, a space escaped in a section name, a text
    // quoted where a comma or an edge space would otherwise be lost.
    void typedWriteStoresText_data() {
        QTest::addColumn<Setting>("key");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QByteArray>("file");
        using enum Setting;
        QTest::newRow("integer") << RecentFilesMax << QVariant(20)
                                 << QByteArray("[Recent%20Files]\nMax=20\n");
        QTest::newRow("single") << TextWindowLeft << QVariant(-120.5f)
                                << QByteArray("[Text]\nWindow\\Left=-120.5\n");
        QTest::newRow("boolean") << TextFontItalic << QVariant(true)
                                 << QByteArray("[Text]\nFont\\Itaric=True\n");
        QTest::newRow("text") << HtmlBefore << QVariant(QStringLiteral("<A>\r\n<B, C=\"1\">"))
                              << QByteArray("[HTML]\nBefore=\"<A>\\r\\n<B, C=\\\"1\\\">\"\n");
        QTest::newRow("ramp") << ConversionCharactor << QVariant(QStringLiteral(" .,:;!IU0OQRB&%@"))
                              << QByteArray("[Conversion]\nCharactor=\" .,:;!IU0OQRB&%@\"\n");
        QTest::newRow("colour") << TextBackColor << QVariant(0x80000005u) // window background
                                << QByteArray("[Text]\nColor\\BackColor=-2147483643\n");
    }
    void typedWriteStoresText() {
        QFETCH(Setting, key);
        QFETCH(QVariant, value);
        QFETCH(QByteArray, file);
        SettingsStore store;
        switch (Definition(key).kind) {
        case SettingKind::Integer:
            WriteInteger(store, key, value.toLongLong());
            break;
        case SettingKind::Single:
            WriteSingle(store, key, value.toFloat());
            break;
        case SettingKind::Boolean:
            WriteBoolean(store, key, value.toBool());
            break;
        case SettingKind::Text:
        case SettingKind::Ramp:
            WriteText(store, key, value.toString());
            break;
        case SettingKind::Colour:
            WriteColour(store, key, value.toUInt());
            break;
        }
        QVERIFY(store.Sync());
        QFile written(store.FileName());
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), file);
    }
};

GLYFORA_TEST_MAIN(TestSettingsTable)
#include "tst_settings_table.moc"
