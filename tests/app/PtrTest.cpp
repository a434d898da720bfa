#include "app/Ptr.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

namespace {

using TestFiles::ReadLog;

struct Base : Sys::IObject {
    static int live;
    Base() { ++live; }
    ~Base() override { --live; }
};
int Base::live = 0;

struct Derived : Base {
    int value = 7;
};

// Reaches the counters to stage what a correct program never produces.
struct StrayRelease : Sys::RefStatistic {
    static void Count() { CountDeallocation(); }
};

// Counter changes over the life of one test.
class PtrTest : public testing::Test {
protected:
    int32_t Allocated() const { return Sys::RefStatistic::GetAllocations() - allocations; }
    int32_t Deallocated() const { return Sys::RefStatistic::GetDeallocations() - deallocations; }

    const int32_t allocations = Sys::RefStatistic::GetAllocations();
    const int32_t deallocations = Sys::RefStatistic::GetDeallocations();
};

} // namespace

TEST_F(PtrTest, CopiesShareOneCountAndSelfAssignmentKeepsTheObject)
{
    {
        Sys::Ptr<Base> null(static_cast<Base*>(nullptr));
        Sys::Ptr<Base> nullCopy(null);  // null pointers count nothing
        Sys::Ptr<Base> one(new Base), two(new Base);
        Sys::Ptr<Base> shared(new Base);
        Sys::Ptr<Base> copies[4] = {shared, shared, shared, shared};
        EXPECT_EQ(*shared.counter.count, 5);
        EXPECT_FALSE(one == two);
        copies[0] = one;
        EXPECT_EQ(*shared.counter.count, 4);
        EXPECT_EQ(*one.counter.count, 2);

        Sys::Ptr<Base>& alias = two;
        two = alias;
        EXPECT_EQ(*two.counter.count, 1);
        copies[1] = two;
        two = copies[1];  // already shares the count
        EXPECT_EQ(*two.counter.count, 2);
        two = new Base;   // a fresh object replaces the shared one
        EXPECT_EQ(*copies[1].counter.count, 1);
        EXPECT_EQ(Base::live, 4);
    }
    EXPECT_EQ(Base::live, 0);
    EXPECT_EQ(Allocated(), 4);
    EXPECT_EQ(Deallocated(), 4);
}

TEST_F(PtrTest, ForcedReleaseDestroysOnce)
{
    Sys::Ptr<Base> global(new Base);
    // Two more references that are never released (their owners are gone at shutdown).
    alignas(Sys::Ptr<Base>) unsigned char storage[2][sizeof(Sys::Ptr<Base>)];
    new (storage[0]) Sys::Ptr<Base>(global);
    new (storage[1]) Sys::Ptr<Base>(global);

    global.ReleaseAll();
    EXPECT_TRUE(global.IsEmpty());
    EXPECT_EQ(Base::live, 0);
    global.ReleaseAll();
    EXPECT_EQ(Deallocated(), 1);
    EXPECT_EQ(Allocated(), 1);
}

TEST_F(PtrTest, RelatedTypesShareTheCount)
{
    {
        Sys::Ptr<Derived> derived(new Derived);
        Sys::Ptr<Base> base(derived);
        Sys::Ptr<Base> assigned;
        assigned = derived;
        EXPECT_EQ(*derived.counter.count, 3);
        EXPECT_EQ(Sys::Ptr<Derived>::StaticFrom(base)->value, 7);
        EXPECT_EQ(*Sys::Ptr<Derived>::StaticFrom(base).counter.count, 4);
    }
    EXPECT_EQ(Base::live, 0);
    EXPECT_EQ(Deallocated(), 1);
}

TEST_F(PtrTest, ReportGivesItsVerdictOnTheDeallocationLine)
{
    ASSERT_EQ(Sys::RefStatistic::GetAllocations(), Sys::RefStatistic::GetDeallocations())
        << "an earlier test leaked";
    auto report = [] {
        const std::string before = ReadLog();
        Sys::RefStatistic::Report();
        return ReadLog().substr(before.size());
    };
    const std::string n = std::to_string(Sys::RefStatistic::GetAllocations());
    EXPECT_EQ(report(), "\n----- Pointer usage statistic -----\n\nNum allocations: " + n +
                            "\nNum deallocations: " + n + ". Found no memory leaks.");
    {
        Sys::Ptr<Base> held(new Base);
        EXPECT_NE(report().find(". WARNING: Found memory leaks!"), std::string::npos);
    }
    StrayRelease::Count();
    EXPECT_NE(report().find(". WARNING: Found wrong memory usage!"), std::string::npos);
}
