#pragma once

#include <algorithm>
#include <iterator>

#include "effects/metaballs.h"

// Puts the ball table back as it was, whatever a test did to it.
class BallTableGuard {
  public:
    BallTableGuard() { std::copy(std::begin(balls), std::end(balls), saved); }
    ~BallTableGuard() { std::copy(std::begin(saved), std::end(saved), balls); }
    BallTableGuard(const BallTableGuard &) = delete;
    BallTableGuard &operator=(const BallTableGuard &) = delete;

    // The table as the program starts with it.
    static void LoadInitialTable()
    {
        const Metaball initial[kBallCount] = {
            {0.2f, 0, 0, 0},  {0.25f, 0, 0, 0}, {0.3f, 0, 0, 1},  {0.25f, 0, 1, 0}, {0.2f, 0, 0, 0},
            {0.15f, 0, 0, 0}, {0.2f, 0, 0, 0},  {0.15f, 0, 1, 0}, {0.15f, 0, 0, 1}, {0.2f, 0, 0, 0},
        };
        std::copy(std::begin(initial), std::end(initial), balls);
    }

  private:
    Metaball saved[kBallCount];
};
