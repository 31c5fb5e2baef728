// Micro-benchmarks of the two conversions. Targets on the 2-core build machine: a short
// conversion under 1 µs, a pasted text of one million characters under 20 ms.
#include "core/conversions.h"

#include <benchmark/benchmark.h>
#include <string>

using namespace pelmora;

namespace {

std::string millionDigits()
{
    // Digits that read to a number in range: one significant digit and then a long fraction.
    return "7." + std::string(999'998, '3');
}

std::string millionBlanks()
{
    return std::string(999'999, ' ') + "7";
}

// One conversion, again and again, with the text in the field the direction reads.
void convert(benchmark::State &state, void (*conversion)(FieldPanel &), int input,
             const std::string &text)
{
    FieldPanel panel;
    panel.Option1 = {input == decimalField, input != decimalField};
    panel.Text2[input].text = text;
    for (auto _ : state) {
        conversion(panel);
        benchmark::DoNotOptimize(panel);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

} // namespace

BENCHMARK_CAPTURE(convert, DecimalToGrayShort, DecimalToGray, decimalField, "1000");
BENCHMARK_CAPTURE(convert, DecimalToGrayLargest, DecimalToGray, decimalField, "2147483647");
BENCHMARK_CAPTURE(convert, DecimalToGrayMillionDigits, DecimalToGray, decimalField, millionDigits())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(convert, DecimalToGrayMillionBlanks, DecimalToGray, decimalField, millionBlanks())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(convert, GrayToDecimalShort, GrayToDecimal, decimalGrayField, "540");
BENCHMARK_CAPTURE(convert, GrayToDecimalLargest, GrayToDecimal, decimalGrayField, "2147483647");
BENCHMARK_CAPTURE(convert, GrayToDecimalMillionDigits, GrayToDecimal, decimalGrayField,
                  millionDigits())
    ->Unit(benchmark::kMillisecond);
