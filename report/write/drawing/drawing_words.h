// The words the drawings' titles and labels are made of. The program's drawings (the
// page's first view and the --svg) write them from here; the page's script, which
// draws zooms and a fleet's charts, is handed the same in the page's data.
#pragma once

namespace pinglog::report {

struct DrawingWords {
  const char* cycle = "cycle";
  const char* cycles = "cycles";
  const char* reply = "reply";
  const char* replies = "replies";
  const char* loss = "% loss";            // a bucket's, after its share
  const char* not_sent = "not sent";      // requests of a bucket
  const char* down = "down";              // a bucket's time in short outages
  const char* gap = "No entries:";        // a gap's shading
  const char* outage = "Outage:";         // an outage's shading
  const char* above = "above";            // replies above the scale's top
  const char* loss_label = "loss";        // the loss marks' row
  const char* hour_empty = "no entries";  // an hour of the heat map without cycles
  const char* hour_loss = "loss";         // and with
  const char* median = "median";
  const char* no_replies = "no replies";
};
inline constexpr DrawingWords kWords{};

}  // namespace pinglog::report
