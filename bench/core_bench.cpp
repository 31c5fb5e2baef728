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

void convert(benchmark::State &state, void (*conversion)(FieldPanel &), std::size_t input,
             const std::string &text)
{
    FieldPanel panel;
    panel.Option1 = {input == 0, input != 0};
    panel.Text2[input].text = text;
    for (auto _ : state) {
        conversion(panel);
        benchmark::DoNotOptimize(panel);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_DecimalToGrayShort(benchmark::State &state)
{
    convert(state, DecimalToGray, 0, "1000");
}
void BM_DecimalToGrayLargest(benchmark::State &state)
{
    convert(state, DecimalToGray, 0, "2147483647");
}
void BM_DecimalToGrayMillionDigits(benchmark::State &state)
{
    convert(state, DecimalToGray, 0, millionDigits());
}
void BM_DecimalToGrayMillionBlanks(benchmark::State &state)
{
    convert(state, DecimalToGray, 0, millionBlanks());
}
void BM_GrayToDecimalShort(benchmark::State &state)
{
    convert(state, GrayToDecimal, 4, "540");
}
void BM_GrayToDecimalLargest(benchmark::State &state)
{
    convert(state, GrayToDecimal, 4, "2147483647");
}
void BM_GrayToDecimalMillionDigits(benchmark::State &state)
{
    convert(state, GrayToDecimal, 4, millionDigits());
}

} // namespace

BENCHMARK(BM_DecimalToGrayShort);
BENCHMARK(BM_DecimalToGrayLargest);
BENCHMARK(BM_DecimalToGrayMillionDigits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecimalToGrayMillionBlanks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GrayToDecimalShort);
BENCHMARK(BM_GrayToDecimalLargest);
BENCHMARK(BM_GrayToDecimalMillionDigits)->Unit(benchmark::kMillisecond);
