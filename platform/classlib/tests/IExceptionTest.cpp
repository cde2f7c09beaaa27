#include "IException.h"

#include <gtest/gtest.h>

TEST(IException, CarriesTextsLocationsAndSeverity)
{
    try {
        ITHROW(IAccessError("Cannot copy seed file", 42));
    } catch (IException &e) {
        EXPECT_STREQ(e.name(), "IAccessError");
        EXPECT_STREQ(e.what(), "Cannot copy seed file");
        EXPECT_EQ(e.errorId(), 42u);
        EXPECT_TRUE(e.isRecoverable());
        ASSERT_EQ(e.locationCount(), 1u);
        EXPECT_NE(e.locationAtIndex(0).fileName.find("IExceptionTest.cpp"), std::string::npos);
        EXPECT_EQ(e.locationAtIndex(0).function, "TestBody");

        e.addText("while converting PAYROLL");
        EXPECT_STREQ(e.what(), "while converting PAYROLL");
        EXPECT_EQ(e.text(1), "Cannot copy seed file");
        EXPECT_EQ(e.text(5), "");
        EXPECT_EQ(e.locationAtIndex(3).lineNumber, 0u);
    }
}

TEST(IException, RethrowAddsTheHandlersLocation)
{
    auto raise = [] { ITHROW(IInvalidRequest("not now")); };
    try {
        try {
            raise();
        } catch (IException &e) {
            IRETHROW(e);
        }
    } catch (const IInvalidRequest &e) {
        EXPECT_EQ(e.locationCount(), 2u);
        EXPECT_STREQ(e.name(), "IInvalidRequest");
    }
}

TEST(IException, SeverityCanBeMadeUnrecoverable)
{
    IResourceExhausted e("out of handles", 0, IException::Severity::Unrecoverable);
    EXPECT_FALSE(e.isRecoverable());
    e.setSeverity(IException::Severity::Recoverable);
    EXPECT_TRUE(e.isRecoverable());
    EXPECT_STREQ(e.name(), "IResourceExhausted");
}

TEST(IException, OneMadeWithoutTextCarriesNone)
{
    IAccessError e;
    EXPECT_EQ(e.textCount(), 0u);
    EXPECT_STREQ(e.what(), "");
    EXPECT_EQ(e.text(), "");
    EXPECT_EQ(e.errorId(), 0u);
    EXPECT_TRUE(e.isRecoverable());
    e.addText("passed on by the desktop");
    EXPECT_EQ(e.textCount(), 1u);
    EXPECT_STREQ(e.what(), "passed on by the desktop");
}
