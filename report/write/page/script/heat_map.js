// The heat map's hour, told as the program words it:
// "01.03.2021 19:00–20:00: loss 6.67 %, median 15 ms, 20 cycles".
import { plural } from './numbers.js';
import { format } from './time_words.js';

export function hourTitle(t, cell) {
  const title = format('%dd.%mm.%yyyy %hh:00', t) + '\u2013' + format('%hh:00', t + 3600);
  if (!cell.cycles) return title + ': no entries';
  const loss = (cell.sent ? (100 * cell.lost) / cell.sent : 0).toFixed(2);
  const median = cell.median === undefined ? 'no replies' : 'median ' + cell.median + ' ms';
  return `${title}: loss ${loss} %, ${median}, ${plural(cell.cycles, 'cycle', 'cycles')}`;
}
