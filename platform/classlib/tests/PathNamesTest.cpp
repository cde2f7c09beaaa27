#include "PathNames.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(PathNames, SplitsAtTheLastSeparatorAndTheLastDot)
{
    EXPECT_EQ(PathNames::baseName("/src/PAY.R1.cbl"), "PAY.R1");
    EXPECT_EQ(PathNames::directory("/src/PAY.R1.cbl"), "/src");
    EXPECT_EQ(PathNames::fileName("/src/PAY.R1.cbl"), "PAY.R1.cbl");
    EXPECT_EQ(PathNames::baseName("/src/MAKEFILE"), "MAKEFILE");
    EXPECT_EQ(PathNames::baseName("/src.d/PROG"), "PROG");
    EXPECT_EQ(PathNames::directory("PROG.cbl"), "");
    EXPECT_EQ(PathNames::directory("/PROG.cbl"), "/");
}

TEST(PathNames, JoinsWithoutDoublingTheSeparator)
{
    EXPECT_EQ(PathNames::join("/home/ana/cobol", "y2kready"), "/home/ana/cobol/y2kready");
    EXPECT_EQ(PathNames::join("/", "y2kready"), "/y2kready");
    EXPECT_EQ(PathNames::join("", "y2kready"), "y2kready");
}

TEST(PathNames, StripsTrailingSeparatorsButKeepsTheRoot)
{
    EXPECT_EQ(PathNames::withoutTrailingSeparators("/out//"), "/out");
    EXPECT_EQ(PathNames::withoutTrailingSeparators("/"), "/");
    EXPECT_EQ(PathNames::withoutTrailingSeparators("out"), "out");
}

TEST(PathNames, ReplacesOnlyTheFileNamesExtension)
{
    EXPECT_EQ(PathNames::replaceExtension("/p/y2k1.iwp", ".iwo"), "/p/y2k1.iwo");
    EXPECT_EQ(PathNames::replaceExtension("/p.d/proj", ".iwo"), "/p.d/proj.iwo");
}

TEST(PathNames, MakesRelativePathsAbsoluteAgainstTheWorkingDirectory)
{
    const std::string cwd = std::filesystem::current_path().string();
    EXPECT_EQ(PathNames::absolute("out"), PathNames::join(cwd, "out"));
    EXPECT_EQ(PathNames::absolute("./a/../out/"), PathNames::join(cwd, "out"));
    EXPECT_EQ(PathNames::absolute("/x/./y//"), "/x/y");
    EXPECT_EQ(PathNames::absolute(""), "");
}
