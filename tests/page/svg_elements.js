// An SVG drawing as a list of its elements, for comparing two drawings of one chart:
// each element's tag, attributes with their numbers taken out, and its words (its
// title or text) as written; and the attributes' numbers. Attributes that carry data for scripts (data-*) are left out,
// and so is the axis's first and last time (the program writes the first and last
// entry there, a zoom the view's ends).
const ELEMENT = /<(rect|line|text|path)\b([^>]*?)(?:\/>|>(.*?)<\/\1>)/gs;
const ATTRIBUTE = /([a-z-]+)="([^"]*)"/g;
const NUMBER = /-?\d+(?:\.\d+)?/g;

export function elements(svg, endLabelsY) {
  const list = [];
  for (const [, tag, attributes, inner = ''] of svg.matchAll(ELEMENT)) {
    const kept = [...attributes.matchAll(ATTRIBUTE)].filter(([, name]) => !name.startsWith('data-'));
    if (tag === 'text' && kept.some(([, name, value]) => name === 'y' && +value === endLabelsY)) continue;
    const text = tag + ' ' + kept.map(([, name, value]) => `${name}=${value}`).join(' ');
    list.push({ shape: text.replace(NUMBER, '#') + ' ' + inner, numbers: (text.match(NUMBER) || []).map(Number) });
  }
  return list;
}

// The first difference of two drawings beyond a tenth (their coordinates' rounding),
// or null.
export function firstDifference(expected, actual) {
  const a = elements(expected.svg, expected.endLabelsY),
    b = elements(actual.svg, actual.endLabelsY);
  for (let i = 0; i < Math.max(a.length, b.length); ++i) {
    const x = a[i],
      y = b[i];
    const same =
      x &&
      y &&
      x.shape === y.shape &&
      x.numbers.every((n, k) => Math.abs(n - y.numbers[k]) <= 0.1 + 1e-9);
    if (!same) {
      return `element ${i} of ${a.length} and ${b.length}:\n  program: ${x && x.shape} ${x && x.numbers}\n` +
        `  script:  ${y && y.shape} ${y && y.numbers}`;
    }
  }
  return null;
}
