#include "project/VersionNumbers.h"

#include <gtest/gtest.h>

#include <ostream>

namespace
{

TProjectData Project(qint32 major, qint32 minor, qint32 release, qint32 build)
{
    TProjectData d;
    d.FileVersionMajor = major;
    d.FileVersionMinor = minor;
    d.FileVersionRelease = release;
    d.FileVersionBuild = build;
    return d;
}

// ---- Version parts a VERSIONINFO can hold --------------------------------------

struct TRangeCase {
    const char* Name;
    qint32 Parts[4];
    const char* Warning; // "" for none
};

void PrintTo(const TRangeCase& c, std::ostream* os)
{
    *os << c.Name;
}

class FileVersionRangeTest : public testing::TestWithParam<TRangeCase>
{
};

TEST_P(FileVersionRangeTest, WarnsAboutPartsOutside16Bits)
{
    const TRangeCase& c = GetParam();
    EXPECT_EQ(FileVersionRangeWarning(Project(c.Parts[0], c.Parts[1], c.Parts[2], c.Parts[3])),
              QString::fromUtf8(c.Warning));
}

const TRangeCase RangeCases[] = {
    {"AllSmall", {1, 2, 0, 15}, ""},
    {"LargestEveryWhere", {65535, 65535, 65535, 65535}, ""},
    {"Zero", {0, 0, 0, 0}, ""},
    {"BuildAbove",
     {1, 0, 0, 65536},
     "file version 1.0.0.65536 has a part outside 0 to 65535, which a VERSIONINFO cannot hold"},
    {"MajorAbove",
     {70000, 0, 0, 0},
     "file version 70000.0.0.0 has a part outside 0 to 65535, which a VERSIONINFO cannot hold"},
    {"Negative",
     {1, -1, 0, 0},
     "file version 1.-1.0.0 has a part outside 0 to 65535, which a VERSIONINFO cannot hold"},
};

INSTANTIATE_TEST_SUITE_P(Cases, FileVersionRangeTest, testing::ValuesIn(RangeCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(VersionNumbers, ProductVersionRange)
{
    struct {
        qint32 Major, Minor;
        bool Warns;
    } const cases[] = {{1, 0, false}, {65535, 65535, false}, {65536, 0, true}, {2, -3, true}};
    for (const auto& c : cases) {
        TGroupValues g;
        g.ProdMajor = c.Major;
        g.ProdMinor = c.Minor;
        const QString w = ProductVersionRangeWarning(g);
        EXPECT_EQ(!w.isEmpty(), c.Warns) << c.Major << "." << c.Minor;
        if (c.Warns) {
            EXPECT_TRUE(
                w.startsWith(QStringLiteral("product version %1.%2 ").arg(c.Major).arg(c.Minor)))
                << w.toStdString();
        }
    }
}

} // namespace
