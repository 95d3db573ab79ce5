#include "solution/Quadrature.h"

#include "text/DecimalSeparator.h"
#include "text/Errors.h"
#include "text/NumberText.h"
#include "text/TextFile.h"

namespace kavrin {

namespace {

struct OrderEntry {
    int order, skip;
};
constexpr OrderEntry kOrderTable[] = {{4, 1}, {20, 2}, {60, 8}, {104, 24}, {256, 50}};

}  // namespace

bool GaussOrderInTable(int gaussOrder)
{
    for (const OrderEntry& entry : kOrderTable)
        if (entry.order == gaussOrder) return true;
    return false;
}

std::optional<int> GaussOrderOutsideTable(const std::string& orderText)
{
    try {
        const int order = ParseInteger(orderText);
        if (!GaussOrderInTable(order)) return order;
    } catch (const ConversionError&) {
    }
    return std::nullopt;
}

void SelectGaussOrder(QuadratureState& quadrature, int gaussOrder)
{
    for (const OrderEntry& entry : kOrderTable) {
        if (entry.order == gaussOrder) {
            quadrature.GaussN = entry.order;
            quadrature.GaussSkip = entry.skip;
        }
    }
}

namespace {

// Splits a line at its blanks as the table is written: each value ends at a
// blank and the next one starts at that blank; characters after the last
// blank are not a value. The s-th value of half-block line q goes to entry
// 2(4(q−1)+s)−1; a line holds four values and any more are ignored.
void readHalfBlockLine(std::array<double, 257>& target, const std::string& line, int q, char separator)
{
    std::size_t start = 0;
    int s = 0;
    for (std::size_t i = 0; i < line.size() && s < 4; ++i) {
        if (line[i] != ' ') continue;
        ++s;
        const int entry = 2 * (4 * (q - 1) + s) - 1;
        const double value = ParseFloat(ArrumaDecimal(line.substr(start, i - start), separator), separator);
        if (entry >= 1 && entry <= 256) target[static_cast<std::size_t>(entry)] = value;
        start = i;
    }
}

}  // namespace

void GLQPTS(QuadratureState& quadrature, int N, int lines, const std::string& valoresPath, char separator)
{
    TextFileReader file(valoresPath);
    const int L = N / 8 + (N % 8 != 0 ? 1 : 0);
    if (L != 1 && lines > 0)
        for (int k = 0; k < lines; ++k) file.readLine();
    for (int q = 1; q <= L; ++q) readHalfBlockLine(quadrature.GaussNodes, file.readLine(), q, separator);
    for (int q = 1; q <= L; ++q) readHalfBlockLine(quadrature.GaussWeights, file.readLine(), q, separator);
    const int M = N / 2;
    for (int k = 0; k < M && 2 * k + 2 <= 256; ++k) {
        quadrature.GaussNodes[static_cast<std::size_t>(2 * k + 2)] = -quadrature.GaussNodes[static_cast<std::size_t>(2 * k + 1)];
        quadrature.GaussWeights[static_cast<std::size_t>(2 * k + 2)] =
            quadrature.GaussWeights[static_cast<std::size_t>(2 * k + 1)];
    }
}

void LoadGaussOrder(QuadratureState& quadrature, int gaussOrder, const std::string& valoresPath, char separator)
{
    SelectGaussOrder(quadrature, gaussOrder);
    GLQPTS(quadrature, quadrature.GaussN, quadrature.GaussSkip, valoresPath, separator);
}

}  // namespace kavrin
