// The model's stated digits rely on 80-bit intermediates where the compiler offers them. The
// x87 precision control can cut that to 53 bits at run time (some Windows start-up code and
// new threads do), which would pass unnoticed without these checks.
#include <cmath>
#include <limits>
#include <thread>

#include <gtest/gtest.h>

#include "solar/SunPosition.h"

namespace {

bool ExtendedCarriesSixtyFourBits() {
    volatile long double one = 1.0L;
    volatile long double tiny = std::ldexp(1.0L, -60);
    return one + tiny != one;
}

} // namespace

#if defined(__i386__) || defined(__x86_64__)
TEST(ExtendedPrecision, LongDoubleIsTheEightyBitType) {
    EXPECT_EQ(std::numeric_limits<long double>::digits, 64);
    EXPECT_TRUE(ExtendedCarriesSixtyFourBits());
}
#endif

TEST(ExtendedPrecision, WorkerThreadsComputeTheSameSunAsTheMainThread) {
    double mainAscension = 0;
    double mainDeclination = 0;
    SunPosition(2452960.55853009, mainAscension, mainDeclination);
    double workerAscension = 0;
    double workerDeclination = 0;
    std::thread worker([&] { SunPosition(2452960.55853009, workerAscension, workerDeclination); });
    worker.join();
    EXPECT_EQ(mainAscension, workerAscension);
    EXPECT_EQ(mainDeclination, workerDeclination);
}
