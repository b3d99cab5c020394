#include "test_support.h"
#include "util/path_resolver.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace brix;

namespace {

class PathResolverTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.path();
        touch("Nastaven/Nast_Pr.txt");
        touch("Ext_Ucty/DodListy/CestaImp.txt");
        touch("Ext_Ucty/FaVydane/Tisk_Fa.pts");
        touch("Účty/Přehled.TXT");
        QDir(root).mkpath("Prac_Db");
    }

    void touch(const QString& relative) {
        QString path = root + '/' + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    QTemporaryDir dir;
    QString root;
};

} // namespace

TEST_F(PathResolverTest, EverySpellingFindsTheRealFile) {
    const QString real = root + "/Ext_Ucty/DodListy/CestaImp.txt";
    for (const char* spelling :
         {"Ext_Ucty\\DodListy\\CestaImp.txt", "ext_ucty\\dodlisty\\cestaimp.txt",
          "EXT_UCTY/DODLISTY/CESTAIMP.TXT", "Ext_ucty/DodListy\\CestaImp.TXT",
          "\\Ext_Ucty\\\\DodListy\\.\\CestaImp.txt"}) {
        ResolvedPath r = resolvePath(root, QString::fromLatin1(spelling));
        EXPECT_TRUE(r.exists) << spelling;
        EXPECT_FALSE(r.isDir) << spelling;
        EXPECT_EQ(r.path, real) << spelling;
    }
    ResolvedPath settings = resolvePath(root, u"nastaven\\nast_pr.txt");
    EXPECT_TRUE(settings.exists);
    EXPECT_EQ(settings.path, root + "/Nastaven/Nast_Pr.txt");
}

TEST_F(PathResolverTest, CzechLettersMatchIgnoringCase) {
    ResolvedPath r = resolvePath(root, u"úČTY\\přehled.txt");
    EXPECT_TRUE(r.exists);
    EXPECT_EQ(r.path, root + QStringLiteral("/Účty/Přehled.TXT"));
}

TEST_F(PathResolverTest, DirectoriesResolveWithOrWithoutTrailingSeparator) {
    for (const char* spelling : {"ext_ucty\\dodlisty\\", "EXT_UCTY\\DODLISTY", "prac_db/"}) {
        ResolvedPath r = resolvePath(root, QString::fromLatin1(spelling));
        EXPECT_TRUE(r.exists) << spelling;
        EXPECT_TRUE(r.isDir) << spelling;
    }
    EXPECT_EQ(resolvedFilePath(root, u"ext_ucty\\dodlisty\\"), root + "/Ext_Ucty/DodListy");
    ResolvedPath whole = resolvePath(root, u"");
    EXPECT_TRUE(whole.isDir);
    EXPECT_EQ(whole.path, QDir::cleanPath(root));
}

TEST_F(PathResolverTest, MissingPartsKeepTheirSpellingAfterTheRealOnes) {
    ResolvedPath file = resolvePath(root, u"ext_ucty\\dodlisty\\Nový.txt");
    EXPECT_FALSE(file.exists);
    EXPECT_TRUE(file.ok());
    EXPECT_EQ(file.path, root + QStringLiteral("/Ext_Ucty/DodListy/Nový.txt"));

    ResolvedPath deep = resolvePath(root, u"EXT_UCTY\\Objednav\\Vydane\\x.pts");
    EXPECT_FALSE(deep.exists);
    EXPECT_EQ(deep.path, root + "/Ext_Ucty/Objednav/Vydane/x.pts");

    // Below a file nothing can exist.
    ResolvedPath underFile = resolvePath(root, u"nastaven\\nast_pr.txt\\x");
    EXPECT_FALSE(underFile.exists);
    EXPECT_EQ(underFile.path, root + "/Nastaven/Nast_Pr.txt/x");

    // A missing root: everything is to be created.
    ResolvedPath noRoot = resolvePath(root + "/nic", u"Nastaven\\Nast_Pr.txt");
    EXPECT_FALSE(noRoot.exists);
    EXPECT_EQ(noRoot.path, root + "/nic/Nastaven/Nast_Pr.txt");
}

TEST_F(PathResolverTest, ExactSpellingWinsOverOtherCases) {
    touch("CISELNIK/a.txt");
    touch("Ciselnik/a.txt");
    EXPECT_EQ(resolvedFilePath(root, u"Ciselnik\\a.txt"), root + "/Ciselnik/a.txt");
    EXPECT_EQ(resolvedFilePath(root, u"CISELNIK\\a.txt"), root + "/CISELNIK/a.txt");
    // Neither spelled so: the first in sorted order, the same on every call.
    QString first = resolvedFilePath(root, u"ciselnik\\a.txt");
    EXPECT_EQ(first, root + "/CISELNIK/a.txt");
    EXPECT_EQ(resolvedFilePath(root, u"cISELNIK\\A.TXT"), first);
}

TEST_F(PathResolverTest, NothingLeavesTheRoot) {
    for (const char* spelling :
         {"..\\etc\\passwd", "Nastaven\\..\\..\\x", "C:\\Windows\\win.ini", "c:x.txt"}) {
        ResolvedPath r = resolvePath(root, QString::fromLatin1(spelling));
        EXPECT_FALSE(r.ok()) << spelling;
        EXPECT_FALSE(r.exists) << spelling;
        EXPECT_FALSE(r.error.isEmpty()) << spelling;
        EXPECT_TRUE(resolvedFilePath(root, QString::fromLatin1(spelling)).isEmpty());
    }
}

TEST_F(PathResolverTest, AbsolutePathsOfThisMachineAreMatchedFromTheTop) {
    QString upper = root + "/NASTAVEN/NAST_PR.TXT";
    ResolvedPath r = resolvePath(QStringLiteral("/elsewhere"), upper);
    EXPECT_TRUE(r.exists);
    EXPECT_EQ(r.path, root + "/Nastaven/Nast_Pr.txt");
}
