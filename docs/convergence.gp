# calka's approximations against the exact integral; see convergence.sh.
set terminal svg size 760,440 dynamic font "sans,12" background "white"
# The title is plain text: in enhanced mode "^2 " would raise the 2 and the
# space after it would start a separate run, which SVG viewers drop.
set encoding utf8
set title "calka: right-endpoint rectangle sums of (√x + 3.5)² over [0, 100]" noenhanced
set xlabel "rectangles"
set ylabel "approximation"
set logscale x 2
set format x "%.0f"
set xrange [3:1400]
set yrange [10700:13000]
set grid
set key top right
exact = 32675.0 / 3.0
set label 1 sprintf("stops at %s, above the exact value:\nthe change from 512 rectangles is below 1/1000", final) \
    at 700, 11750 right
set arrow 1 from 640, 11620 to 1000, real(final) + 25 lw 1.5
set label 2 sprintf("exact integral 32675/3 = %.6f", exact) at 4, exact - 90 left
plot data using 1:2 with linespoints pt 7 lw 2 title "printed approximations", \
     exact with lines dt 2 lw 2 title "exact integral"
