# A one-page chart for the test-PDF kit, drawn by gnuplot's pdfcairo terminal (make_kit.sh):
# a title, axis labels, tick numbers, a key, free labels with bold and italic runs (pango
# markup), an accented word, a Greek and Cyrillic label and a label turned by 90 degrees.
set terminal pdfcairo size 8.5in,11in font "Liberation Sans,11" enhanced
set output ARG1
set title "{/:Bold Rainfall and River Levels}" font ",18"
set xlabel "Month of the year"
set ylabel "Level above datum (m)"
set xrange [0.5:6.5]
set yrange [0:5]
set xtics ("Jan" 1, "Feb" 2, "Mar" 3, "Apr" 4, "May" 5, "Jun" 6)
set key top left box
set label 1 "Gauge readings: 1,284 samples; peak 4.35 m on 17/03." at graph 0.03, graph 0.80
set label 2 "{/:Italic Provisional} data from the Rhône basin" at graph 0.03, graph 0.75
set label 3 "Ελληνικά: ποταμός — Русский: река" at graph 0.03, graph 0.70
set label 4 "Flood warning threshold" at 6.3, 3.2 rotate by 90
set arrow from 0.5,3 to 6.5,3 nohead dashtype 2
plot "-" using 1:2 with linespoints title "Upper weir", \
     "-" using 1:2 with linespoints title "Lower sluice"
1 1.2
2 2.4
3 4.35
4 3.1
5 1.9
6 1.4
e
1 0.8
2 1.5
3 2.9
4 2.2
5 1.1
6 0.7
e
