#include "support/PathHelpers.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

constexpr auto Win = TPathStyle::Windows;
constexpr auto Posix = TPathStyle::Posix;

enum class TPathOp { Trailing, RemoveExt, ChangeExt, Join, Build, Relative, Absolute };

struct TPathCase {
    TPathStyle Style;
    TPathOp Op;
    QString A, B, C;
    QString Expected;
};

void PrintTo(const TPathCase& c, std::ostream* os)
{
    static const char* const ops[] = {
        "WithTrailingDelimiter", "RemoveExtension",  "ChangeExtension", "JoinPath",
        "BuildFileName",         "MakeRelativePath", "MakeAbsolutePath"};
    *os << (c.Style == Win ? "Windows " : "Posix ") << ops[int(c.Op)] << " (" << CaseText(c.A)
        << " | " << CaseText(c.B) << " | " << CaseText(c.C) << ") -> " << CaseText(c.Expected);
}

QString Apply(const TPathCase& c)
{
    switch (c.Op) {
    case TPathOp::Trailing:
        return WithTrailingDelimiter(c.A, c.Style);
    case TPathOp::RemoveExt:
        return RemoveExtension(c.A, c.Style);
    case TPathOp::ChangeExt:
        return ChangeExtension(c.A, c.B, c.Style);
    case TPathOp::Join:
        return JoinPath(c.A, c.B, c.Style);
    case TPathOp::Build:
        return BuildFileName(c.A, c.B, c.C, c.Style);
    case TPathOp::Relative:
        return MakeRelativePath(c.A, c.B, c.Style);
    case TPathOp::Absolute:
        return MakeAbsolutePath(c.A, c.B, c.Style);
    }
    return QString();
}

// Absolute paths whose normalised result is exactly `length` characters long.
QString LongBase(TPathStyle style, int length)
{
    // base + delimiter + "f.rc" == length
    const QString root = style == Win ? QStringLiteral("C:\\") : QStringLiteral("/");
    return root + QString(length - int(root.size()) - 5, u'd');
}

std::vector<TPathCase> PathCases()
{
    using O = TPathOp;
    std::vector<TPathCase> cases = {
        // WithTrailingDelimiter
        {Win, O::Trailing, "", "", "", ""},
        {Win, O::Trailing, R"(C:\App)", "", "", R"(C:\App\)"},
        {Win, O::Trailing, R"(C:\App\)", "", "", R"(C:\App\)"},
        {Win, O::Trailing, "C:/App/", "", "", R"(C:/App/\)"},
        {Posix, O::Trailing, "", "", "", ""},
        {Posix, O::Trailing, "/App", "", "", "/App/"},
        {Posix, O::Trailing, "/App/", "", "", "/App/"},
        {Posix, O::Trailing, R"(App\)", "", "", R"(App\/)"},
        // RemoveExtension: a dot in a folder name never counts
        {Win, O::RemoveExt, "a.b.c", "", "", "a.b"},
        {Win, O::RemoveExt, "name.", "", "", "name"},
        {Win, O::RemoveExt, R"(C:\x.y\z)", "", "", R"(C:\x.y\z)"},
        {Win, O::RemoveExt, R"(C:\home\.profile)", "", "", R"(C:\home\)"},
        {Win, O::RemoveExt, ".profile", "", "", ""},
        {Win, O::RemoveExt, R"(C:\x.y/z)", "", "", R"(C:\x)"},
        {Posix, O::RemoveExt, "a.b.c", "", "", "a.b"},
        {Posix, O::RemoveExt, "/x.y/z", "", "", "/x.y/z"},
        {Posix, O::RemoveExt, "/home/.profile", "", "", "/home/"},
        {Posix, O::RemoveExt, R"(x.y\z)", "", "", "x"},
        // ChangeExtension
        {Win, O::ChangeExt, R"(C:\Work\Group.groupproj)", "vprj", "", R"(C:\Work\Group.vprj)"},
        {Win, O::ChangeExt, R"(C:\Work\Group.groupproj)", ".vprj", "", R"(C:\Work\Group.vprj)"},
        {Win, O::ChangeExt, R"(C:\Work\Group.groupproj)", "", "", R"(C:\Work\Group)"},
        {Win, O::ChangeExt, R"(C:\Work\Group.groupproj)", ".", "", R"(C:\Work\Group)"},
        {Win, O::ChangeExt, R"(C:\Work\Group)", "..x", "", R"(C:\Work\Group..x)"},
        {Win, O::ChangeExt, R"(C:\my.dir\file)", "rc", "", R"(C:\my.dir\file.rc)"},
        {Win, O::ChangeExt, "", "rc", "", ""},
        {Posix, O::ChangeExt, "/work/Group.groupproj", "vprj", "", "/work/Group.vprj"},
        {Posix, O::ChangeExt, "/work/Group.groupproj", ".vprj", "", "/work/Group.vprj"},
        {Posix, O::ChangeExt, "/work/Group.groupproj", "", "", "/work/Group"},
        {Posix, O::ChangeExt, "/my.dir/file", "rc", "", "/my.dir/file.rc"},
        {Posix, O::ChangeExt, "", ".rc", "", ""},
        // JoinPath: no test whether the name is absolute
        {Win, O::Join, R"(C:\g)", R"(p\a.dproj)", "", R"(C:\g\p\a.dproj)"},
        {Win, O::Join, R"(C:\g\)", "a", "", R"(C:\g\a)"},
        {Win, O::Join, R"(C:\g)", "", "", R"(C:\g)"},
        {Win, O::Join, R"(C:\g)", R"(\a)", "", R"(C:\g\\a)"},
        {Win, O::Join, "", "a", "", "a"},
        {Posix, O::Join, "/g", "p/a.dproj", "", "/g/p/a.dproj"},
        {Posix, O::Join, "/g/", "a", "", "/g/a"},
        {Posix, O::Join, "/g", "", "", "/g"},
        {Posix, O::Join, "/g", "/a", "", "/g//a"},
        {Posix, O::Join, "", "a", "", "a"},
        // BuildFileName: a dot anywhere suppresses the default extension
        {Win, O::Build, R"(C:\App)", "Tool", "ini", R"(C:\App\Tool.ini)"},
        {Win, O::Build, R"(C:\App\)", "Tool", ".ini", R"(C:\App\Tool.ini)"},
        {Win, O::Build, R"(C:\App)", R"(D:\x\Tool)", "ini", R"(D:\x\Tool.ini)"},
        {Win, O::Build, R"(C:\App)", R"(\x\Tool)", "ini", R"(\x\Tool.ini)"},
        {Win, O::Build, R"(C:\App)", R"(sub.d\Tool)", "ini", R"(C:\App\sub.d\Tool)"},
        {Win, O::Build, R"(C:\App)", "Tool", "", R"(C:\App\Tool)"},
        {Win, O::Build, "", "Tool", "ini", "Tool.ini"},
        {Posix, O::Build, "/App", "Tool", "ini", "/App/Tool.ini"},
        {Posix, O::Build, "/App/", "Tool", ".ini", "/App/Tool.ini"},
        {Posix, O::Build, "/App", "/x/Tool", "ini", "/x/Tool.ini"},
        {Posix, O::Build, "/App", "sub.d/Tool", "ini", "/App/sub.d/Tool"},
        {Posix, O::Build, "/App", "C:Tool", "ini", "/App/C:Tool.ini"},
        {Posix, O::Build, "", "Tool", "ini", "Tool.ini"},
        // MakeRelativePath: the path keeps its own spelling
        {Win, O::Relative, R"(C:\App)", R"(C:\App\T\V.trc)", "", R"(T\V.trc)"},
        {Win, O::Relative, R"(C:\App\)", R"(c:\APP\t\v.trc)", "", R"(t\v.trc)"},
        {Win, O::Relative, R"(C:\App)", R"(C:\app\)", "", ""},
        {Win, O::Relative, R"(C:\App)", R"(C:\App)", "", ""},
        {Win, O::Relative, R"(C:\App)", R"(D:\V.trc)", "", R"(D:\V.trc)"},
        {Win, O::Relative, R"(C:\App)", "V.trc", "", "V.trc"},
        {Win, O::Relative, R"(C:\App)", R"(C:\AppData\V.trc)", "", R"(C:\AppData\V.trc)"},
        {Posix, O::Relative, "/App", "/App/T/V.trc", "", "T/V.trc"},
        {Posix, O::Relative, "/App", "/app/", "", ""},
        {Posix, O::Relative, "/App", "/Other/V.trc", "", "/Other/V.trc"},
        {Posix, O::Relative, "/App", "V.trc", "", "V.trc"},
        {Posix, O::Relative, "/App", "/AppData/V.trc", "", "/AppData/V.trc"},
        // MakeAbsolutePath
        {Win, O::Absolute, R"(C:\App)", R"(..\T\V.trc)", "", R"(C:\T\V.trc)"},
        {Win, O::Absolute, R"(C:\App\)", R"(.\T\V.trc)", "", R"(C:\App\T\V.trc)"},
        {Win, O::Absolute, R"(C:\App)", R"(T\..\V.trc)", "", R"(C:\App\V.trc)"},
        {Win, O::Absolute, R"(C:\App)", R"(..\..\..\V.trc)", "", R"(C:\V.trc)"},
        {Win, O::Absolute, R"(C:\App)", R"(D:\x\..\V.trc)", "", R"(D:\x\..\V.trc)"},
        {Win, O::Absolute, R"(C:\App)", "C:x", "", "C:x"},
        {Win, O::Absolute, "", R"(a\b)", "", R"(\a\b)"},
        {Posix, O::Absolute, "/App", "../T/V.trc", "", "/T/V.trc"},
        {Posix, O::Absolute, "/App/", "./T/V.trc", "", "/App/T/V.trc"},
        {Posix, O::Absolute, "/App", "T/../V.trc", "", "/App/V.trc"},
        {Posix, O::Absolute, "/App", "../../../V.trc", "", "/V.trc"},
        {Posix, O::Absolute, "/App", "/x/../V.trc", "", "/x/../V.trc"},
        {Posix, O::Absolute, "", "a/b", "", "/a/b"},
    };
    // The result must fit MAX_PATH (260 with its terminating zero).
    for (TPathStyle style : {Win, Posix}) {
        const QString d = PathDelimiter(style);
        const QString fits = LongBase(style, 259);
        cases.push_back({style, O::Absolute, fits, "f.rc", "", fits + d + "f.rc"});
        cases.push_back({style, O::Absolute, LongBase(style, 260), "f.rc", "", "f.rc"});
    }
    return cases;
}

class PathHelpersTest : public testing::TestWithParam<TPathCase>
{
};

TEST_P(PathHelpersTest, GivesExpectedPath)
{
    EXPECT_EQ(Apply(GetParam()), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(BothRules, PathHelpersTest, testing::ValuesIn(PathCases()));

struct TPathTestCase {
    TPathStyle Style;
    bool SubPath; // false: HasFullPath(A); true: IsSubPath(A, B)
    const char* A;
    const char* B;
    bool Expected;
};

void PrintTo(const TPathTestCase& c, std::ostream* os)
{
    *os << (c.Style == Win ? "Windows " : "Posix ") << (c.SubPath ? "IsSubPath(" : "HasFullPath(")
        << CaseText(c.A) << (c.SubPath ? ", " + CaseText(c.B) : std::string()) << ")";
}

class PathPredicateTest : public testing::TestWithParam<TPathTestCase>
{
};

TEST_P(PathPredicateTest, Answers)
{
    const TPathTestCase& c = GetParam();
    const bool result = c.SubPath ? IsSubPath(c.A, c.B, c.Style) : HasFullPath(c.A, c.Style);
    EXPECT_EQ(result, c.Expected);
}

INSTANTIATE_TEST_SUITE_P(BothRules, PathPredicateTest,
                         testing::Values(TPathTestCase{Win, false, "C:x", "", true},
                                         TPathTestCase{Win, false, R"(\x)", "", true},
                                         TPathTestCase{Win, false, R"(\\server\share)", "", true},
                                         TPathTestCase{Win, false, R"(a\b:c)", "", true},
                                         TPathTestCase{Win, false, R"(a\b)", "", false},
                                         TPathTestCase{Win, false, "/x", "", false},
                                         TPathTestCase{Win, false, "", "", false},
                                         TPathTestCase{Posix, false, "/x", "", true},
                                         TPathTestCase{Posix, false, "//server/share", "", true},
                                         TPathTestCase{Posix, false, "C:x", "", false},
                                         TPathTestCase{Posix, false, R"(\x)", "", false},
                                         TPathTestCase{Posix, false, "a/b", "", false},
                                         TPathTestCase{Posix, false, "", "", false},
                                         TPathTestCase{Win, true, R"(C:\A)", R"(C:\AB)", false},
                                         TPathTestCase{Win, true, R"(C:\A)", R"(c:\a\b)", true},
                                         TPathTestCase{Win, true, R"(C:\A\)", R"(C:\a)", true},
                                         TPathTestCase{Win, true, R"(C:\A\B)", R"(C:\A)", false},
                                         TPathTestCase{Win, true, "", R"(C:\A)", false},
                                         TPathTestCase{Posix, true, "/A", "/AB", false},
                                         TPathTestCase{Posix, true, "/A", "/a/b", true},
                                         TPathTestCase{Posix, true, "/A/", "/a", true},
                                         TPathTestCase{Posix, true, "/A/B", "/A", false},
                                         TPathTestCase{Posix, true, "", "/A", false}));

} // namespace
