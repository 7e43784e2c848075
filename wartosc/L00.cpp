// wartosc: prints the value of f(x) = 3 sin x + 2 cos^2 x at the point x.
#include <cmath>
#include <csignal>
#include <cstdio>

float x = 2.5F; // the point, in radians
float y;        // f(x); zero until computed

int main()
{
#ifdef SIGPIPE
    // A reader that has gone away must make the write fail, not end the
    // process: the program exits with status 0 whatever happens to its output.
    std::signal(SIGPIPE, SIG_IGN);
#endif

    // The point is widened before the calls: given a float, C++ would pick
    // the float overloads of sin, cos and pow, and y would come out one float
    // step low (3.079078). Everything up to the store into y is double.
    const double sine_term = 3.0 * std::sin(static_cast<double>(x));
    y = static_cast<float>(2.0 * std::pow(std::cos(static_cast<double>(x)), 2.0) + sine_term);

    std::printf("Zadana funkcja f(x) w punkcie x=%.1f przyjmuje wartosc %f\n",
                static_cast<double>(x), static_cast<double>(y));

    // The line is out before the pause, so an interrupt there loses nothing.
    std::fflush(stdout);

    // Closing pause: one character, not a whole line.
    (void)std::getchar();
    return 0;
}
