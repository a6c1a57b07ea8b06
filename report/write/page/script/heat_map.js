// The heat map's hour, told as the program words it:
// "01.03.2021 19:00–20:00: loss 6.67 %, median 15 ms, 20 cycles".
import { R } from './rules.js';
import { plural } from './numbers.js';
import { format } from './time_words.js';

export function hourTitle(t, cell) {
  const w = R.words;
  const title = format('%dd.%mm.%yyyy %hh:00', t) + '\u2013' + format('%hh:00', t + 3600);
  if (!cell.cycles) return `${title}: ${w.hourEmpty}`;
  const loss = (cell.sent ? (100 * cell.lost) / cell.sent : 0).toFixed(2);
  const median = cell.median === undefined ? w.noReplies : `${w.median} ${cell.median} ms`;
  return `${title}: ${w.hourLoss} ${loss} %, ${median}, ${plural(cell.cycles, w.cycle, w.cycles)}`;
}
