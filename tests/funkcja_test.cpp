// The rectangle sum of calka, tested in-process.
#include "tests/calka_program.h"

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct SumCase {
    const char *name;
    double step_x;
    double start_x;
    double end_x;
    const char *printed; // as the program prints it, "%f"
};

// Names the arguments of a row in test names and failure messages.
void PrintTo(const SumCase &c, std::ostream *out)
{
    *out << "funkcja(" << c.step_x << ", " << c.start_x << ", " << c.end_x << ")";
}

std::string printed(double value)
{
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), "%f", value);
    return text.data();
}

class RectangleSum : public testing::TestWithParam<SumCase> {};

TEST_P(RectangleSum, PrintsAsExpected)
{
    const SumCase &c = GetParam();
    EXPECT_EQ(printed(calka_program::funkcja(c.step_x, c.start_x, c.end_x)), c.printed);
}

// Samples at the right end of each rectangle, the abscissa summed step by step.
const std::vector<SumCase> sum_cases = {
    // The two-rectangle sum that main computes first and never prints.
    {"two_rectangles_at_50_and_100", 50.0, 0.0, 100.0, "14699.873734"},
    {"four_rectangles_the_first_printed", 25.0, 0.0, 100.0, "12852.981324"},
    // One rectangle, sampled at 100 (f(100) = 182.25), never at 0.
    {"one_rectangle_sampled_at_the_right_end", 100.0, 0.0, 100.0, "18225.000000"},
    // Samples at 30, 60, 90 and 120: the last lies beyond the upper bound.
    {"last_sample_beyond_the_bound", 30.0, 0.0, 100.0, "17539.540044"},
    // Ten additions of 0.1 give 1 - 2^-53, below 1, so an eleventh sample is
    // taken at about 1.1. A build that keeps the abscissa in a wider register
    // reaches 1 after ten, takes ten rectangles and prints 17.773565 instead.
    {"eleven_rectangles_from_rounding", 0.1, 0.0, 1.0, "19.842732"},
    // 1024 rectangles, the step main ends with; the last sample exactly at 100.
    {"the_final_value", 100.0 / 1024.0, 0.0, 100.0, "10899.923317"},
    {"empty_range", 1.0, 5.0, 5.0, "0.000000"},
    {"reversed_range", 1.0, 7.0, 5.0, "0.000000"},
};

INSTANTIATE_TEST_SUITE_P(Table, RectangleSum, testing::ValuesIn(sum_cases),
                         [](const testing::TestParamInfo<SumCase> &info) {
                             return std::string(info.param.name);
                         });

} // namespace
