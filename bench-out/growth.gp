# Growth curves of the keldatom benchmark; run: gnuplot growth.gp
csv = 'bench.csv'
set terminal svg size 1200,1200 dynamic font 'sans,11'
set output 'growth.svg'
set datafile separator ','
set key outside right top
set logscale x 10
set format x '%.0f'
set grid
set xlabel 'N (system log records written)'
contenders = system("tail -n +2 '" . csv . "' | cut -d, -f3 | awk '!seen[$0]++' | tr '\n' ' '")
workloads = 'W1 W1w W2 W3 W4 W5'
# The lines of one contender (column 3) and workload (column 4), so that each curve is continuous.
rows(c, w) = sprintf("< awk -F, '$3 == \"%s\" && $4 == \"%s\"' '%s'", c, w, csv)
set multiplot layout 3,1 title 'keldatom: object manager against raw SQL (dash type: contender, colour: workload)'
set logscale y 10
set ylabel 'seconds per workload'
plot for [ci=1:words(contenders)] for [wi=1:words(workloads)] rows(word(contenders, ci), word(workloads, wi)) \
     using 1:6 with linespoints lc wi dt ci title word(contenders, ci).' '.word(workloads, wi)
set ylabel 'nanoseconds per object'
plot for [ci=1:words(contenders)] for [wi=1:words(workloads)] rows(word(contenders, ci), word(workloads, wi)) \
     using 1:7 with linespoints lc wi dt ci title word(contenders, ci).' '.word(workloads, wi)
unset logscale y
set yrange [0:*]
set ylabel 'bytes per cached object (W2)'
plot for [ci=1:words(contenders)] rows(word(contenders, ci), 'W2') \
     using 1:9 with linespoints lc ci dt 1 title word(contenders, ci).' heap', \
     for [ci=1:words(contenders)] rows(word(contenders, ci), 'W2') \
     using 1:10 with linespoints lc ci dt 3 title word(contenders, ci).' RSS'
unset multiplot
