// The process-wide stack: made by the first transport component, freed with the last.
#include <gtest/gtest.h>

#include <memory>

#include "net/IdException.h"
#include "net/IdStack.h"
#include "net/IdUDPClient.h"
#include "support/RecordingStack.h"

namespace {

TEST(IdStackRegistry, OneStackServesAllComponentsAndGoesWithTheLast) {
    ScopedRecordingStack recording;
    ASSERT_EQ(StackUsers(), 0);
    ASSERT_EQ(GlobalStack(), nullptr);
    {
        TIdUDPClient first;
        TIdStack* stack = GlobalStack();
        ASSERT_NE(stack, nullptr);
        EXPECT_EQ(StackUsers(), 1);
        {
            TIdUDPClient second;
            EXPECT_EQ(StackUsers(), 2);
            EXPECT_EQ(GlobalStack(), stack);
        }
        EXPECT_EQ(StackUsers(), 1);
        EXPECT_EQ(GlobalStack(), stack);
        EXPECT_EQ(recording.stacksCreated, 1);
        EXPECT_EQ(recording.stacksDestroyed, 0);
    }
    EXPECT_EQ(StackUsers(), 0);
    EXPECT_EQ(GlobalStack(), nullptr);
    EXPECT_EQ(recording.stacksDestroyed, 1);
}

TEST(IdStackRegistry, FailedStackCreationLeavesTheCountAndTheNextComponentTriesAgain) {
    ScopedRecordingStack recording;
    recording.FailStackCreation(true);
    try {
        TIdUDPClient client;
        FAIL() << "no exception";
    } catch (const EIdStackInitializationFailed& e) {
        EXPECT_EQ(e.Message(), "Winsock Initialization Error.");
    }
    EXPECT_EQ(StackUsers(), 0);
    EXPECT_EQ(GlobalStack(), nullptr);

    recording.FailStackCreation(false);
    TIdUDPClient client;
    EXPECT_EQ(StackUsers(), 1);
    EXPECT_NE(GlobalStack(), nullptr);
}

TEST(IdStackRegistry, ScopedRecordingStackRestoresThePreviousClass) {
    int made = 0;
    SetDefaultStackClass([&made]() -> std::unique_ptr<TIdStack> {
        ++made;
        return std::make_unique<TRecordingStack>(std::make_shared<RecordingState>());
    });
    { ScopedRecordingStack recording; }
    { TIdUDPClient client; }
    EXPECT_EQ(made, 1);
    SetDefaultStackClass(nullptr);
}

}  // namespace
