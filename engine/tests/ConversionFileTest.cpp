#include "ConversionFile.h"
#include "FileStateDisplay.h"
#include "ProgramInfo.h"

#include <gtest/gtest.h>

namespace {

struct OutputDirectory
{
    explicit OutputDirectory(const std::string &directory)
    {
        ConversionFile::setOutputDirectory(directory);
    }
    ~OutputDirectory() { ConversionFile::setOutputDirectory({}); }
};

} // namespace

TEST(ConversionFile, SplitsThePathAndNamesEveryOutputFile)
{
    const OutputDirectory output("/home/ana/y2kready");
    const ConversionFile file("/src/PAY.R1.cbl");
    EXPECT_EQ(file.fullPath(), "/src/PAY.R1.cbl");
    EXPECT_EQ(file.baseName(), "PAY.R1");
    EXPECT_EQ(file.sourceDirectory(), "/src");
    EXPECT_EQ(file.adtName(), "/home/ana/y2kready/PAY.R1.adt");
    EXPECT_EQ(file.xlgName(), "/home/ana/y2kready/PAY.R1.xlg");
    EXPECT_EQ(file.xcaName(), "/home/ana/y2kready/PAY.R1.xca");
    EXPECT_EQ(file.xrlName(), "/home/ana/y2kready/PAY.R1.xrl");
    EXPECT_EQ(file.cvtName(), "/home/ana/y2kready/PAY.R1.cvt");
    EXPECT_EQ(file.crsName(), "/home/ana/y2kready/PAY.R1.crs");
    EXPECT_EQ(file.sourceCrsName(), "/src/PAY.R1.crs");
    EXPECT_EQ(ConversionFile::logName(), "/home/ana/y2kready/chxconv.log");
}

TEST(ConversionFile, HandlesNamesWithoutExtensionOrDirectory)
{
    const OutputDirectory output("/out/");
    const ConversionFile noDot("/src/v1.2/PAYROLL");
    EXPECT_EQ(noDot.baseName(), "PAYROLL");
    EXPECT_EQ(noDot.sourceDirectory(), "/src/v1.2");
    EXPECT_EQ(noDot.cvtName(), "/out/PAYROLL.cvt");

    const ConversionFile bare("PAY.cbl");
    EXPECT_EQ(bare.sourceDirectory(), "");
    EXPECT_EQ(bare.sourceCrsName(), "PAY.crs");
}

TEST(ConversionFile, MakesItsProgramInfoOnceWithTheBaseName)
{
    ConversionFile file("/src/PAY.cbl");
    EXPECT_FALSE(file.hasProgramInfo());
    ProgramInfo &info = file.programInfo();
    EXPECT_EQ(info.name(), "PAY");
    EXPECT_EQ(&file.programInfo(), &info);
    EXPECT_EQ(file.state(), 0);
    EXPECT_EQ(file.counter(), 0u);
}

TEST(FileStateDisplay, GivesIconTextAndCounterForEveryState)
{
    const struct
    {
        std::uint8_t state;
        FileStateDisplay::Entry entry;
    } cases[] = {
        {0x00, {62763, 63132, false}},
        {0x11, {62750, 63133, false}},
        {0x12, {62751, 63134, false}},
        {0x14, {62752, 63135, false}},
        {0x18, {62752, 63136, false}},
        {0x21, {62755, 63137, true}},
        {0x22, {62756, 63138, true}},
        {0x24, {62757, 63139, true}},
        {0x28, {62757, 63140, true}},
        {0x41, {62760, 63141, false}},
        {0x42, {62761, 63142, false}},
        {0x44, {62762, 63143, false}},
        {0x48, {62762, 63144, false}},
        {0x81, {62765, 63145, false}},
        {0x82, {62766, 63146, false}},
        {0x84, {62767, 63147, false}},
        {0x88, {62767, 63148, false}},
        {0x91, {62749, 63150, false}},
        {0x92, {62759, 63151, false}},
        {0x94, {62764, 63152, false}},
        {0x01, {FileStateDisplay::fileIcon, 63149, false}},
        {0x30, {FileStateDisplay::fileIcon, 63149, false}},
        {0xFF, {FileStateDisplay::fileIcon, 63149, false}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FileStateDisplay::entryFor(c.state), c.entry) << int(c.state);
}

TEST(FileStateDisplay, AppliesTheCounterRuleAsRowsAreMade)
{
    ConversionFile file("/src/PAY.cbl");
    file.setState(0x21);
    EXPECT_EQ(FileStateDisplay::makeRow(file).counterText(), "1");
    EXPECT_EQ(FileStateDisplay::makeRow(file).counterText(), "2");

    for (const std::uint8_t state : {0x22, 0x24, 0x28}) {
        ConversionFile fresh("/src/A.cbl");
        fresh.setState(state);
        EXPECT_EQ(FileStateDisplay::makeRow(fresh).counterText(), "1");
        EXPECT_EQ(FileStateDisplay::makeRow(fresh).counterText(), "1");
        fresh.setCounter(5);
        EXPECT_EQ(FileStateDisplay::makeRow(fresh).counterText(), "5");
    }

    file.setState(0x41);
    EXPECT_EQ(FileStateDisplay::makeRow(file).counterText(), "");
    EXPECT_EQ(file.counter(), 2u);
}

TEST(FileStateDisplay, NamesStatesForTheConsole)
{
    EXPECT_EQ(FileStateDisplay::stateName(0x12), "compiled");
    EXPECT_EQ(FileStateDisplay::stateName(0x21), "analysed, may be re-analysed");
    EXPECT_EQ(FileStateDisplay::stateName(0x48), "analysis complete");
    EXPECT_EQ(FileStateDisplay::stateName(0x82), "converted");
    EXPECT_EQ(FileStateDisplay::stateName(0x92), "analysing");
    EXPECT_EQ(FileStateDisplay::stateName(0x00), "waiting");
    EXPECT_EQ(FileStateDisplay::stateName(0x33), "unknown state");
}
