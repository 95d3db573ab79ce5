// The Gauss–Legendre rules read from "valores.txt" and the order in effect.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace kavrin {

// Nodes and weights indexed 1 … 256 (index 0 unused). Never cleared: a load
// writes only the entries of its own order.
struct QuadratureState {
    std::array<double, 257> GaussNodes{};
    std::array<double, 257> GaussWeights{};
    int GaussN = 0;
    int GaussSkip = 0;
};

// The order table: 4, 20, 60, 104 and 256 set GaussN and GaussSkip; any
// other order keeps the pair in effect.
void SelectGaussOrder(QuadratureState& quadrature, int gaussOrder);

// Whether the order table holds `gaussOrder`. A computation that starts with
// no order in effect and is given another one has no nodes: every value 0.
bool GaussOrderInTable(int gaussOrder);

// The order the data window's order text names when it converts and the table
// does not hold it; nothing for an order in the table or a text that does not
// convert (the conversion names that one).
std::optional<int> GaussOrderOutsideTable(const std::string& orderText);

// Loads the block of order N that starts after `lines` lines of the file,
// mirroring the positive half into the full rule. Throws FileError or
// ConversionError; entries stored before a faulty value keep it.
void GLQPTS(QuadratureState& quadrature, int N, int lines, const std::string& valoresPath, char separator);

// Selects the order in effect and loads it, as every computation does first.
void LoadGaussOrder(QuadratureState& quadrature, int gaussOrder, const std::string& valoresPath, char separator);

}  // namespace kavrin
