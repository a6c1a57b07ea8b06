// The drawing's rules as the program hands them to the page (the "chart-rules" data):
// the chart's frame, bucket widths, the scale's bulk and round tops, loss levels,
// ticks, bands, the levels of detail kept and the strips' classes and words. The
// program draws the page's first view with the same rules; nothing here restates them.
export const R = {};

export function takeRules(given) {
  Object.assign(R, given);
}
