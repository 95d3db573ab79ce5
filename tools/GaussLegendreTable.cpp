// Writes the quadrature table "valores.txt": the positive half of the
// Gauss–Legendre rules of orders 4, 20, 60, 104 and 256, computed in
// quadruple precision (Newton on the Legendre recurrence), largest node first.
// Each half-block has ceil(N/8) lines of nodes, then as many of weights, four
// values a line, every value followed by one blank, lines ended by CR LF.
#include <cstdio>
#include <quadmath.h>
#include <string>
#include <vector>

namespace {

struct Rule {
    std::vector<__float128> nodes;
    std::vector<__float128> weights;
};

// P_N(x) and P_N'(x) by the three-term recurrence.
void legendre(int n, __float128 x, __float128& p, __float128& dp)
{
    __float128 p0 = 1, p1 = x;
    for (int k = 2; k <= n; ++k) {
        const __float128 p2 = ((2 * k - 1) * x * p1 - (k - 1) * p0) / k;
        p0 = p1;
        p1 = p2;
    }
    p = p1;
    dp = n * (x * p1 - p0) / (x * x - 1);
}

Rule positiveHalf(int n)
{
    Rule rule;
    for (int i = 1; i <= n / 2; ++i) {
        __float128 x = cosq(M_PIq * (i - 0.25Q) / (n + 0.5Q));
        __float128 p = 0, dp = 0;
        for (int iteration = 0; iteration < 100; ++iteration) {
            legendre(n, x, p, dp);
            const __float128 step = p / dp;
            x -= step;
            if (fabsq(step) < 1e-33Q) break;
        }
        legendre(n, x, p, dp);
        rule.nodes.push_back(x);
        rule.weights.push_back(2 / ((1 - x * x) * dp * dp));
    }
    return rule;
}

std::string text(__float128 value)
{
    char buffer[64];
    quadmath_snprintf(buffer, sizeof buffer, "%.22Qf", value);
    return buffer;
}

void writeHalf(std::FILE* out, const std::vector<__float128>& values)
{
    for (std::size_t first = 0; first < values.size(); first += 4) {
        for (std::size_t k = first; k < values.size() && k < first + 4; ++k) std::fprintf(out, "%s ", text(values[k]).c_str());
        std::fputs("\r\n", out);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    std::FILE* out = argc > 1 ? std::fopen(argv[1], "wb") : stdout;
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    for (int order : {4, 20, 60, 104, 256}) {
        const Rule rule = positiveHalf(order);
        writeHalf(out, rule.nodes);
        writeHalf(out, rule.weights);
    }
    return std::fclose(out) == 0 ? 0 : 1;
}
