// The store failures: what each can be caught as, and that none carries a text.
#include <Exceptions/Exceptions.h>
#include <Metabase/MetabaseErrors.h>

#include <gtest/gtest.h>

#include <cstring>

using namespace Orvane;

TEST(StoreExceptions, CaughtThroughTheirBasesWithEmptyTexts)
{
    try {
        throw Metabase::MBOpenKeyError();
    } catch (const Exceptions::ComError&) {
        ADD_FAILURE() << "a metabase error is no COM error";
    } catch (const Exceptions::ExternalError& e) {
        EXPECT_STREQ(e.what(), "");
        EXPECT_NE(dynamic_cast<const Metabase::MetabaseError*>(&e), nullptr);
    }
    try {
        throw Exceptions::CreateComObjectError();
    } catch (const Exceptions::ExternalError&) {
        ADD_FAILURE() << "a creation failure is no external error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "");
        EXPECT_NE(dynamic_cast<const Exceptions::ComError*>(&e), nullptr);
    }
    const Metabase::MBOpenKeyError original;
    const Metabase::MBOpenKeyError copy(original);
    EXPECT_STREQ(copy.what(), "");
}
