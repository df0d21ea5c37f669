#include "SqliteFixture.h"

#include <QFile>
#include <QtGlobal>

#include <sqlite3.h>

bool SqliteFixture::create(const QString &path, const QString &sql)
{
    QFile::remove(path);
    sqlite3 *db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK) {
        qWarning("cannot create %s", qPrintable(path));
        sqlite3_close(db);
        return false;
    }
    char *error = nullptr;
    const QByteArray script = "PRAGMA synchronous = OFF; BEGIN;\n" + sql.toUtf8() + "\nCOMMIT;";
    const bool ok = sqlite3_exec(db, script.constData(), nullptr, nullptr, &error) == SQLITE_OK;
    if (!ok)
        qWarning("%s", error);
    sqlite3_free(error);
    sqlite3_close(db);
    return ok;
}

bool SqliteFixture::useWriteAheadLog(const QString &path)
{
    sqlite3 *db = nullptr;
    bool ok = sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK
              && sqlite3_exec(db, "PRAGMA journal_mode = WAL;", nullptr, nullptr, nullptr) == SQLITE_OK;
    ok = sqlite3_close(db) == SQLITE_OK && ok;
    return ok;
}

QString SqliteFixture::referenceSql()
{
    return QStringLiteral(R"(
CREATE TABLE Tubes (TubeId INTEGER PRIMARY KEY, Din REAL, Dout REAL, s REAL, Lv REAL, Lsh REAL);
INSERT INTO Tubes VALUES (1, 0.348, 0.4, 2, 26.1, 33.5);
INSERT INTO Tubes VALUES (2, 0.139, 0.16, 1.1, 12.5, 17);
INSERT INTO Tubes VALUES (3, 0.174, 0.2, 1.3, 15, NULL);

CREATE TABLE TubesSt (TubeStId INTEGER PRIMARY KEY, TypeID INTEGER, D REAL, s REAL, t REAL);
INSERT INTO TubesSt VALUES (1, 0, 0.5, 0.0021, 0.004);
INSERT INTO TubesSt VALUES (2, 1, 1.0, 0.0048, 0.0096);
INSERT INTO TubesSt VALUES (3, 0, 0.3, 0.0016, NULL);
INSERT INTO TubesSt VALUES (4, 2, 2.4, 0.0091, 0.0182);

CREATE TABLE Materials (TubeMaterialId INTEGER, Descr TEXT, Eo_MPa REAL, Etau_MPa REAL, Mu REAL, Sigmao_MPa REAL);
INSERT INTO Materials VALUES (1, 'Полиэтилен ПЭ 100', 1150, 280, 0.32, 20);
INSERT INTO Materials VALUES (5, 'Стеклопластик SN 10000', 25000, 20000, 0.3, 1000);
INSERT INTO Materials VALUES (4, 'Стеклопластик SN 5000', 24000, 19000, 0.3, 900);
INSERT INTO Materials VALUES (7, NULL, 1400, 330, NULL, 24);

CREATE TABLE Soiles (SoilId INTEGER, Descr TEXT, Gamma_kN_m3 REAL, Egr_MPa REAL, Fi REAL, Kk REAL);
INSERT INTO Soiles VALUES (4, 'Песок мелкий', 19, 5, 30, 1.3);
INSERT INTO Soiles VALUES (2, NULL, 20, 18, 38, NULL);
)");
}

namespace {

QString withSoils(const QString &soils)
{
    QString sql = SqliteFixture::referenceSql();
    sql.truncate(sql.indexOf(QStringLiteral("CREATE TABLE Soiles")));
    return sql + soils;
}

} // namespace

QString SqliteFixture::endlessRowsSql()
{
    return withSoils(QStringLiteral(R"(
CREATE VIEW Soiles AS
  WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n)
  SELECT i AS SoilId, printf('%.*c', 100000, 'x') AS Descr, 19 AS Gamma_kN_m3, 5 AS Egr_MPa, 30 AS Fi, 1.3 AS Kk
  FROM n;
)"));
}

QString SqliteFixture::endlessSearchSql()
{
    return withSoils(QStringLiteral(R"(
CREATE VIEW Soiles AS
  WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n)
  SELECT i AS SoilId, 'x' AS Descr, 19 AS Gamma_kN_m3, 5 AS Egr_MPa, 30 AS Fi, 1.3 AS Kk
  FROM n WHERE i < 0;
)"));
}

QString SqliteFixture::manySoilsSql()
{
    return QStringLiteral("PRAGMA page_size = 1024;\n") + withSoils(QStringLiteral(R"(
CREATE TABLE Soiles (SoilId INTEGER, Descr TEXT, Gamma_kN_m3 REAL, Egr_MPa REAL, Fi REAL, Kk REAL);
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000)
  INSERT INTO Soiles SELECT i, 'Грунт ' || i, 19, 5, 30, 1.3 FROM n;
)"));
}

bool SqliteFixture::damageLastPages(const QString &path, int count)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const QByteArray header = file.read(100);
    if (header.size() < 100)
        return false;
    int pageSize = (static_cast<unsigned char>(header[16]) << 8) | static_cast<unsigned char>(header[17]);
    if (pageSize == 1)
        pageSize = 65536;
    const qint64 from = file.size() - qint64(count) * pageSize;
    if (from < pageSize)
        return false;
    file.seek(from);
    return file.write(QByteArray(int(file.size() - from), '\x5a')) == file.size() - from;
}
