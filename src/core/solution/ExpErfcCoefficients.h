// The coefficients of Cody's rational approximations that ExpErfc
// evaluates, shared with the point evaluations that vectorise them.
#pragma once

#include <array>

namespace kavrin {

// Cody's coefficients, each polynomial in ascending powers of its variable:
// |y| <= 0.46875 in s = y² (A over B), 0.46875 < |y| <= 4 in a = |y| (C over D),
// |y| > 4 in z = 1/y² (P over Q).
constexpr std::array<double, 5> kNumeratorSmall = {3.20937758913846947E03, 3.77485237685302021E02, 1.13864154151050156E02,
                                                   3.16112374387056560E00, 1.85777706184603153E-1};
constexpr std::array<double, 5> kDenominatorSmall = {2.84423683343917062E03, 1.28261652607737228E03, 2.44024637934444173E02,
                                                     2.36012909523441209E01, 1};
constexpr std::array<double, 9> kNumeratorMiddle = {1.23033935479799725E03, 2.05107837782607147E03, 1.71204761263407058E03,
                                                    8.81952221241769090E02, 2.98635138197400131E02, 6.61191906371416295E01,
                                                    8.88314979438837594E00, 5.64188496988670089E-1, 2.15311535474403846E-8};
constexpr std::array<double, 9> kDenominatorMiddle = {1.23033935480374942E03, 3.43936767414372164E03, 4.36261909014324716E03,
                                                      3.29079923573345963E03, 1.62138957456669019E03, 5.37181101862009858E02,
                                                      1.17693950891312499E02, 1.57449261107098347E01, 1};
constexpr std::array<double, 6> kNumeratorLarge = {6.58749161529837803E-4, 1.60837851487422766E-2, 1.25781726111229246E-1,
                                                   3.60344899949804439E-1, 3.05326634961232344E-1, 1.63153871373020978E-2};
constexpr std::array<double, 6> kDenominatorLarge = {2.33520497626869185E-3, 6.05183413124413191E-2, 5.27905102951428412E-1,
                                                     1.87295284992346047E00, 2.56852019228982242E00, 1};

constexpr double kOneOverSqrtPi = 0.56418958354775628695;

}  // namespace kavrin
