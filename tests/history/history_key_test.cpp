#include "core/history/history_key.h"
#include "core/history/history_store.h"
#include "support/fixtures.h"

#define SQLITE_HAS_CODEC 1
#include <sqlite3.h>

#include <QCryptographicHash>
#include <QFile>
#include <QMessageAuthenticationCode>

#include <gtest/gtest.h>

#include <cstring>

using namespace mirkano;
using test::makeHistory;
using test::TempDir;

namespace {

// PBKDF2 (RFC 8018) with HMAC-SHA256, one 32-byte block.
QByteArray pbkdf2Sha256(const QByteArray& password, const QByteArray& salt, int rounds)
{
    QMessageAuthenticationCode mac(QCryptographicHash::Sha256, password);
    mac.addData(salt + QByteArray("\0\0\0\1", 4));
    QByteArray u = mac.result(), out = u;
    for (int i = 1; i < rounds; ++i) {
        mac.reset();
        mac.addData(u);
        u = mac.result();
        for (int k = 0; k < out.size(); ++k)
            out[k] = char(out[k] ^ u[k]);
    }
    return out;
}

// Whether the file opens with this key (null: no key) and shows its view.
bool opensWith(const QString& path, const char* key)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    if (key)
        sqlite3_key(db, key, int(std::strlen(key)));
    const bool ok = sqlite3_exec(db, "SELECT count(*) FROM 全データ選択クエリ", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close_v2(db);
    return ok;
}

void rekey(const QString& path, const char* oldKey, const char* newKey)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_key(db, oldKey, int(std::strlen(oldKey)));
    EXPECT_EQ(sqlite3_rekey(db, newKey, int(std::strlen(newKey))), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close_v2(db);
}

const History kRows = makeHistory({
    {1, {2, 8, 10, 13, 27, 30, 39}},
    {2, {1, 9, 16, 20, 21, 43, 5}},
});

}  // namespace

TEST(HistoryKey, RawKeyIsTheOneDerivedFromTheSixDigitPassword)
{
    const QByteArray key = pbkdf2Sha256(detail::kSixDigitPassword, detail::kHistoryKeySalt,
                                        detail::kHistoryKeyRounds);
    EXPECT_EQ(QByteArray(detail::kHistoryPassword), "x'" + key.toHex() + "'");
}

TEST(HistoryKey, NewFilesNeedTheKeyAndFilesKeyedWithThePasswordStayReadable)
{
    TempDir dir;
    const QString path = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(path, kRows);
    EXPECT_TRUE(opensWith(path, detail::kHistoryPassword));
    EXPECT_FALSE(opensWith(path, nullptr));
    EXPECT_FALSE(opensWith(path, detail::kSixDigitPassword));

    // A file written the earlier way: keyed with the six-digit password.
    rekey(path, detail::kHistoryPassword, detail::kSixDigitPassword);
    ASSERT_TRUE(opensWith(path, detail::kSixDigitPassword));
    ASSERT_FALSE(opensWith(path, detail::kHistoryPassword));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    EXPECT_EQ(loadHistory(path), kRows);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);

    // Any other password still does not open it.
    rekey(path, detail::kSixDigitPassword, "123456");
    try {
        loadHistory(path);
        ADD_FAILURE() << "a file with another password was read";
    } catch (const HistoryError& e) {
        EXPECT_NE(QString::fromStdString(e.what()).indexOf(QStringLiteral("パスワードが違う")), -1) << e.what();
    }
}
