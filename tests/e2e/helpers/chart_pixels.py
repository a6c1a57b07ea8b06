"""Where the first chart of a page's screenshot puts its colours. The chart is found
by its three evenly spaced grid lines (the scale's top, middle and 0); prints the
plot's left and right end (the 0 line's), how high the median line lies on
average (0 on the 0 line, 1 at the top), the left and right end of the loss
colours in the chart as shares of the plot's width (-1 -1 when there are none), and
how many pixels of the median's colour stand in a column of the plot on average (a
line: a few; an area filled under it: many), and the left and right end of the loss
colours in the heat map below the chart as shares of its width (-1 -1: none)."""
import sys

from png_stats import pixels

MEDIAN = (0, 114, 178)
LOSS = {(230, 159, 0), (213, 94, 0), (0, 0, 0)}
# The heat map: no loss, then its loss steps (under 1 % to all).
HEAT_NONE = (179, 213, 232)
HEAT_LOSS = {(255, 255, 178), (254, 204, 92), (253, 141, 60), (227, 26, 28), (0, 0, 0)}

width, height, channels, rows = pixels(sys.argv[1])


def rgb(y, x):
    return tuple(rows[y][x * channels:x * channels + 3])


def grey(c):
    return max(c) - min(c) <= 8 and 150 <= c[0] <= 240


lines, previous = [], -2  # rows mostly of a light grey line, adjacent rows merged
for y in range(height):
    if sum(grey(rgb(y, x)) for x in range(0, width, 2)) * 2 >= width / 2:
        if y != previous + 1:
            lines.append(y)
        previous = y
for top, middle, zero in zip(lines, lines[1:], lines[2:]):
    if middle - top > 40 and abs((zero - middle) - (middle - top)) <= 2:
        break
else:
    sys.exit("no chart with three evenly spaced grid lines")
left, right, start = 0, -1, None  # the 0 line: the row's longest grey run
for x in range(width + 1):
    if x < width and grey(rgb(zero, x)):
        start = x if start is None else start
    elif start is not None:
        if x - 1 - start > right - left:
            left, right = start, x - 1
        start = None
median, loss = [], []
for y in range(top - 5, zero + 40):
    for x in range(left, right + 1):
        c = rgb(y, x)
        if c == MEDIAN and y <= zero:
            median.append(y)
        if c in LOSS:
            loss.append((x - left) / (right - left))
level = (zero - sum(median) / len(median)) / (zero - top) if median else 0
thickness = len(median) / (right - left + 1)
heat = []
for y in range(zero + 70, height):  # the map's rows, not its key's small squares
    row = [rgb(y, x) for x in range(left, right + 1)]
    if sum(c == HEAT_NONE or c in HEAT_LOSS for c in row) > (right - left) / 3:
        heat += [x / (right - left) for x, c in enumerate(row) if c in HEAT_LOSS]
print(left, right, "%.3f" % level, "%.3f" % min(loss, default=-1), "%.3f" % max(loss, default=-1),
      "%.1f" % thickness, "%.3f" % min(heat, default=-1), "%.3f" % max(heat, default=-1))
