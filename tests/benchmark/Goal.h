// A benchmark's figure printed beside its goal, with a plain word when the
// figure misses it.
#pragma once

#include <cstdio>

inline bool ReportGoal(const char* pszFigure, double value, double goal, const char* pszUnit)
{
    bool bMet = value <= goal;
    std::printf("%s: %.3f %s (goal <= %.3f %s): %s\n", pszFigure, value, pszUnit, goal, pszUnit,
                bMet ? "goal met" : "GOAL MISSED");
    std::fflush(stdout);
    return bMet;
}
