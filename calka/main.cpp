// calka: approximates the integral of f(x) = (sqrt(x) + 3.5)^2 over [x1, x2]
// by right-endpoint rectangle sums, halving the step until two successive
// sums agree to one part in a thousand.
#include <cmath>
#include <csignal>
#include <cstdio>

double x1 = 0.0;     // lower bound of the integral
double x2 = 100.0;   // upper bound of the integral
double del_x = 0.0;  // current step: the width of one rectangle
double calka1 = 0.0; // previous approximation
double calka2 = 0.0; // current approximation
char c = 0;          // the closing pause reads into it; the value is unused

// Rectangle sum with steps of step_x from start_x, each rectangle sampled
// at its right end. The abscissa is accumulated by repeated addition, and the
// strict test runs before every rectangle, so the last sample may lie beyond
// end_x by less than one step (with step 0.1 over [0, 1] the abscissa after
// ten additions is just below 1, and an eleventh rectangle is taken).
double funkcja(double step_x, double start_x, double end_x)
{
    double cur_x = start_x;
    double area = 0.0;
    while (cur_x < end_x) {
        cur_x = cur_x + step_x;
        area = area + step_x * std::pow(std::sqrt(cur_x) + 3.5, 2.0);
    }
    return area;
}

int main()
{
#ifdef SIGPIPE
    // A reader that has gone away must make a write fail, not end the
    // process: the program exits with status 0 whatever happens to its output.
    std::signal(SIGPIPE, SIG_IGN);
#endif

    del_x = (x2 - x1) / 2.0;
    calka2 = funkcja(del_x, x1, x2); // two rectangles; not printed

    for (;;) {
        calka1 = calka2;
        del_x = del_x / 2.0;
        calka2 = funkcja(del_x, x1, x2);
        std::printf("%f\n", calka2);
        // Relative change against the newer sum, in thousandths; a change of
        // exactly one thousandth does not stop the loop.
        if (1.0 > std::fabs((calka1 - calka2) / calka2) * 1000.0) {
            break;
        }
    }

    std::printf("Koncowa wartosc:\t%f\n", calka2);

    // Every line is out before the pause, so an interrupt there loses none.
    std::fflush(stdout);

    // Closing pause: consume one line of any length, or up to end of input,
    // one character at a time so that nothing of it is kept. The test is made
    // on getchar's int: held in a char, a 0xFF byte would pass for the end of
    // input (or the end of input would never be seen where char is unsigned).
    int ch = 0;
    do {
        ch = std::getchar();
        c = static_cast<char>(ch);
    } while (ch != '\n' && ch != EOF);
    return 0;
}
