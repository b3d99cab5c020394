// Password-protected Paradox tables: the cipher against its published vectors, the protected
// tables of other programs read with their password and refused without it, our own tables
// protected and read back, and damage to a protected table.

#include "dialogs/table_password.h"
#include "formats/paradox.h"
#include "formats/paradox_cipher.h"
#include "formats/read_command.h"
#include "scripted_gtest.h"
#include "tools_test_util.h"

#include <QFile>

using namespace brix::formats;
using namespace brix::formats::test;
using brix::Button;
using brix::openForeignTable;
using brix::TestPlatform;

namespace {

constexpr quint32 kFixtureKey = 0x0A25E09A; // the checksum of the fixtures' password "123"

QByteArray hex(const char* text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

} // namespace

TEST(ParadoxCipher, PasswordChecksums) {
    EXPECT_EQ(cipher::passwordChecksum("123"), kFixtureKey);
    EXPECT_EQ(cipher::passwordChecksum("test"), 0x20E26198u);
    EXPECT_EQ(cipher::passwordChecksum("Test"), 0xDCFD31C6u);
    EXPECT_EQ(cipher::passwordChecksum("TEST"), 0xDC12B42Au);
    EXPECT_EQ(cipher::passwordChecksum("password"), 0x73BC0DF9u);
    EXPECT_EQ(cipher::passwordChecksum(""), 0u);

    // The low half of "123": the password repeated over a chunk and enciphered with its own
    // first four bytes.
    quint8 u[256], e[256];
    for (int i = 0; i < 256; ++i)
        u[i] = quint8("123"[i % 3]);
    cipher::encipherChunk(u, e, {u[0], u[1], u[2], u[3]});
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(e), 8), hex("9A E0 01 96 76 8D 9C CD"));
}

TEST(ParadoxCipher, DataBlocksOfBothFileVersionsDecipherAndEncipherBack) {
    const QByteArray file = readBytes(fixture("encrypt/encrypted.db"));
    ASSERT_GE(file.size(), 0x800 + 2048);
    const QByteArray raw = file.mid(0x800, 2048);
    EXPECT_EQ(raw.left(16), hex("48 0D 53 72 2B 89 7C DA 2B E2 E7 74 00 2A F3 F4"));
    QByteArray block = raw;
    cipher::decipherBlock(block.data(), int(block.size()), kFixtureKey, 1);
    EXPECT_EQ(block.left(64), hex("00 00 00 00 66 00 80 00 00 01 56 61 6C 75 65 20"
                                  "31 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
                                  "00 00 00 00 00 00 00 00 80 00 00 02 56 61 6C 75"
                                  "65 20 32 00 00 00 00 00 00 00 00 00 00 00 00 00"));
    // Four records of 34 bytes, then zeros to the end of the block.
    EXPECT_EQ(block.mid(6 + 4 * 34), QByteArray(1906, '\0'));
    QByteArray again = block;
    cipher::encipherBlock(again.data(), int(again.size()), kFixtureKey, 1);
    EXPECT_EQ(again, raw);
    // Another block number is another permutation: the same bytes do not decipher alike.
    QByteArray elsewhere = raw;
    cipher::decipherBlock(elsewhere.data(), int(elsewhere.size()), kFixtureKey, 2);
    EXPECT_NE(elsewhere.left(64), block.left(64));

    const QByteArray old = readBytes(fixture("encrypt/encrypted35.db"));
    QByteArray block35 = old.mid(0x800, 2048);
    EXPECT_EQ(block35.left(16), hex("48 0D 53 06 7F 8D 7C DA 2B E2 E7 74 03 2A F3 CB"));
    cipher::decipherBlock(block35.data(), int(block35.size()), kFixtureKey, 1);
    EXPECT_EQ(block35.left(20), hex("00 00 00 00 26 00 BF F0 00 00 00 00 00 00 54 65 73 74 20 31"));
}

TEST(ParadoxCipher, TheMemoFileIsEncipheredWholeWithFixedParameters) {
    const QByteArray mb = readBytes(fixture("encrypt/encryptedmemo.mb"));
    ASSERT_GE(mb.size(), 0x1100);
    QByteArray head = mb.left(256), blob = mb.mid(0x1000, 256);
    EXPECT_EQ(head.left(16), hex("3D 99 55 9A B0 6F FB C8 8B 7A 52 73 90 26 27 AF"));
    EXPECT_EQ(blob.left(16), hex("1D B9 3A BA D5 4F DB E8 E3 5A 3C 53 F5 42 07 FB"));
    cipher::decipherMemo(head.data(), head.size(), kFixtureKey);
    cipher::decipherMemo(blob.data(), blob.size(), kFixtureKey);
    EXPECT_EQ(head.left(16), hex("00 01 00 01 00 82 73 02 00 29 00 00 10 00 10 00"));
    EXPECT_EQ(blob.left(16), hex("02 0E 00 2F DA 00 00 01 00 20 54 68 65 20 50 41"));
}

TEST(ParadoxProtected, FixturesReadWithTheirPasswordToTheirKnownRecords) {
    Table t = readAll(fixture("encrypt/encrypted.db"), QStringLiteral("123"));
    ASSERT_TRUE(t.error.isEmpty()) << t.error.toStdString();
    ASSERT_EQ(t.records.size(), 4);
    EXPECT_EQ(t.fields[0].kind, FieldKind::AutoInc);
    const char* texts[] = {"Value 1", "Value 2", "Value 3", "Last one"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(t.records[i][0].toInt(), i + 1);
        EXPECT_EQ(t.records[i][1].toString(), QString::fromLatin1(texts[i]));
    }

    Table old = readAll(fixture("encrypt/encrypted35.db"), QStringLiteral("123"));
    ASSERT_TRUE(old.error.isEmpty()) << old.error.toStdString();
    ASSERT_EQ(old.records.size(), 2);
    EXPECT_DOUBLE_EQ(old.records[0][0].toDouble(), 1.0);
    EXPECT_EQ(old.records[0][1].toString(), QStringLiteral("Test 1"));
    EXPECT_DOUBLE_EQ(old.records[1][0].toDouble(), 2.0);
    EXPECT_EQ(old.records[1][1].toString(), QStringLiteral("Test2"));

    // The memos come out of the enciphered memo file whole and clean: text to the last byte.
    Table memo = readAll(fixture("encrypt/encryptedmemo.db"), QStringLiteral("123"));
    ASSERT_TRUE(memo.error.isEmpty()) << memo.error.toStdString();
    ASSERT_EQ(memo.records.size(), 2);
    EXPECT_EQ(memo.fields[0].kind, FieldKind::Memo);
    EXPECT_EQ(memo.records[0][0].toString().size(), 55855);
    EXPECT_EQ(memo.records[1][0].toString().size(), 494832);
    for (const Record& r : memo.records) {
        const QString text = r[0].toString();
        const bool clean = std::all_of(text.begin(), text.end(), [](QChar c) {
            return c.isPrint() || c == u'\r' || c == u'\n' || c == u'\t' || c == u'\f';
        });
        EXPECT_TRUE(clean);
    }
}

TEST(ParadoxProtected, MissingAndWrongPasswordsAreRefusedNamingTheTable) {
    for (const char* f :
         {"encrypt/encrypted.db", "encrypt/encrypted35.db", "encrypt/encryptedmemo.db"}) {
        const QString path = fixture(f);
        for (const QString& password : {QString(), QStringLiteral("test"), QStringLiteral("1234"),
                                        QStringLiteral("418265")}) {
            ParadoxReader r;
            EXPECT_FALSE(r.open(path, password)) << f;
            EXPECT_TRUE(r.passwordRefused());
            EXPECT_TRUE(r.errorString().contains(path)) << r.errorString().toStdString();
            EXPECT_TRUE(r.errorString().contains(password.isEmpty() ? QStringLiteral("bez hesla")
                                                                    : QStringLiteral("není "
                                                                                     "správné")));
            Record rec;
            EXPECT_FALSE(r.next(&rec));
        }
        bool refused = false;
        QString error;
        EXPECT_FALSE(openTable(path, QStringLiteral("test"), &error, &refused));
        EXPECT_TRUE(refused);
    }
    // A table without protection does not care for a password.
    EXPECT_EQ(readAll(fixture("fields/long.db"), QStringLiteral("123")).records.size(), 3);

    QString out, err;
    QTextStream o(&out), e(&err);
    EXPECT_EQ(runReadCommand({fixture("encrypt/encrypted.db")}, o, e), 2);
    EXPECT_EQ(runReadCommand({fixture("encrypt/encrypted.db"), "--password", "test"}, o, e), 2);
    EXPECT_FALSE(out.contains(QStringLiteral("Value")));
    EXPECT_TRUE(err.contains(QStringLiteral("encrypted.db")));
    out.clear();
    EXPECT_EQ(runReadCommand({fixture("encrypt/encrypted.db"), "--password", "123"}, o, e), 0);
    EXPECT_EQ(out, QStringLiteral("Id,Text\n1,Value 1\n2,Value 2\n3,Value 3\n4,Last one\n"));
}

namespace {

// A table of ours over many blocks (past block 255, so the block number wraps in the cipher),
// with memos in suballocated and in whole blocks, protected by `password`.
QString writeProtected(const QTemporaryDir& dir, const QString& password, int records) {
    const QString path = dir.filePath("Zamest.db");
    ParadoxWriter w;
    QList<Record> rows;
    for (int i = 0; i < records; ++i)
        rows << Record{i, QStringLiteral("Novák %1 Šťastný").arg(i), QDate(1970, 1, 1).addDays(i),
                       QStringLiteral("Poznámka ").repeated(i % 7 == 0 ? 400 : 1 + i % 5)};
    if (!writeAll(w, path,
                  {{"Id", FieldKind::Long},
                   {"PRIJMENI", FieldKind::Text, 150},
                   {"Narozen", FieldKind::Date},
                   {"Poznamka", FieldKind::Memo, 20}},
                  rows))
        return {};
    return encipherTable(path, password) ? path : QString();
}

} // namespace

TEST(ParadoxProtected, OurTableProtectedWithTheSameCipherReadsBack) {
    QTemporaryDir dir;
    const int n = 6000;
    const QString path = writeProtected(dir, QStringLiteral("418265"), n);
    ASSERT_FALSE(path.isEmpty());
    ParadoxReader plain;
    EXPECT_FALSE(plain.open(path));
    EXPECT_TRUE(plain.passwordRefused());

    ParadoxReader r;
    ASSERT_TRUE(r.open(path, QStringLiteral("418265"))) << r.errorString().toStdString();
    Record rec;
    int i = 0;
    for (; r.next(&rec); ++i) {
        ASSERT_EQ(rec[0].toInt(), i);
        ASSERT_EQ(rec[1].toString(), QStringLiteral("Novák %1 Šťastný").arg(i));
        ASSERT_EQ(rec[2].toDate(), QDate(1970, 1, 1).addDays(i));
        ASSERT_EQ(rec[3].toString(),
                  QStringLiteral("Poznámka ").repeated(i % 7 == 0 ? 400 : 1 + i % 5));
    }
    EXPECT_TRUE(r.errorString().isEmpty()) << r.errorString().toStdString();
    EXPECT_EQ(i, n);
}

// Damage to a protected table ends in its records or in a message that names the table, never
// in a crash, a hang or more records than it holds.
TEST(ParadoxProtected, DamageEndsInRecordsOrAClearError) {
    QTemporaryDir dir;
    const QString path = writeProtected(dir, QStringLiteral("418265"), 300);
    ASSERT_FALSE(path.isEmpty());
    const QString mbPath = dir.filePath("Zamest.mb");
    const QByteArray dbBytes = readBytes(path), mbBytes = readBytes(mbPath);
    const int headerSize = detail::le16(dbBytes.constData() + 2);

    // The key changed: the password no longer matches.
    QByteArray d = dbBytes;
    d[0x5C] = char(d[0x5C] ^ 0x10);
    ASSERT_TRUE(writeBytes(path, d));
    ParadoxReader r;
    EXPECT_FALSE(r.open(path, QStringLiteral("418265")));
    EXPECT_TRUE(r.passwordRefused());

    // The first block's link cut: the chain holds fewer records than the header counts.
    d = dbBytes;
    const int blockSize = quint8(d[5]) * 1024;
    const quint32 key = cipher::passwordChecksum("418265");
    cipher::decipherBlock(d.data() + headerSize, blockSize, key, 1);
    ASSERT_NE(detail::le16(d.constData() + headerSize), 0);
    detail::putLe16(d.data() + headerSize, 0);
    cipher::encipherBlock(d.data() + headerSize, blockSize, key, 1);
    ASSERT_TRUE(writeBytes(path, d));
    Table t = readAll(path, QStringLiteral("418265"));
    EXPECT_TRUE(t.error.contains(path)) << t.error.toStdString();

    quint32 seed = 4711;
    auto rnd = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 8); };
    int errors = 0;
    for (int round = 0; round < 300; ++round) {
        QByteArray db = dbBytes, mb = mbBytes;
        switch (round % 3) {
        case 0: // bytes anywhere in the table
            for (int k = 0; k < 4; ++k)
                db[rnd() % db.size()] = char(rnd());
            break;
        case 1: // bytes of the memo file
            for (int k = 0; k < 4; ++k)
                mb[rnd() % mb.size()] = char(rnd());
            break;
        default: // cut short, or a block header
            if (rnd() % 2)
                db.truncate(headerSize + int(rnd() % (db.size() - headerSize)));
            else
                db[headerSize + int(rnd() % 6)] = char(rnd());
            break;
        }
        ASSERT_TRUE(writeBytes(path, db) && writeBytes(mbPath, mb));
        t = readAll(path, QStringLiteral("418265"));
        EXPECT_LE(t.records.size(), 300);
        if (!t.error.isEmpty()) {
            ++errors;
            EXPECT_TRUE(t.error.contains(QStringLiteral("Zamest"))) << t.error.toStdString();
        }
    }
    EXPECT_GT(errors, 0);
}

// The import dialogs open a protected table by asking for its password through the platform:
// a wrong one is said and asked again, a cancel gives nothing.
TEST(ParadoxProtected, TheUserIsAskedForThePasswordUntilItIsRight) {
    const QString path = fixture("encrypt/encrypted.db");
    {
        TestPlatform ui;
        ui.cancelInput(QStringLiteral("Heslo tabulky"));
        EXPECT_FALSE(openForeignTable(path));
        EXPECT_TRUE(ui.shownMessages().isEmpty());
        ui.verifyAllUsed();
    }
    TestPlatform ui;
    ui.answerInput(QStringLiteral("test"), QStringLiteral("Heslo tabulky"));
    ui.answer(Button::Ok, QStringLiteral("není správné"), QStringLiteral("Chyba"));
    ui.answerInput(QStringLiteral("123"), QStringLiteral("Heslo tabulky"));
    auto reader = openForeignTable(path);
    ASSERT_TRUE(reader);
    Record r;
    int n = 0;
    while (reader->next(&r))
        ++n;
    EXPECT_EQ(n, 4);
    ui.verifyAllUsed();
    // A table without protection opens without a question, a missing one with its reason.
    EXPECT_TRUE(openForeignTable(fixture("fields/long.db")));
    ui.answer(Button::Ok, QStringLiteral("neni.db"), QStringLiteral("Chyba"));
    EXPECT_FALSE(openForeignTable(fixture("neni.db")));
    ui.verifyAllUsed();
}
