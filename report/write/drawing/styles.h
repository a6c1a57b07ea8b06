// The style sheets and their palette, made at build time from write/drawing/*.css
// (palette.css, chart.css, heat_map.css, timeline.css, document.css) and
// write/page/page.css: a colour or a rule is changed there, never in C++.
#pragma once

namespace pinglog::report {

extern const char* const kChartStyle;     // the chart, in the page and the SVG
extern const char* const kHeatMapStyle;   // the heat map
extern const char* const kTimelineStyle;  // the hosts' strips
extern const char* const kDocumentStyle;  // the SVG document's own: paper, texts, key
// The page around the drawings; its print footer says "%made%" and "%version%" where
// the page's writer puts when the report was made and the program's version.
extern const char* const kPageStyle;

}  // namespace pinglog::report
