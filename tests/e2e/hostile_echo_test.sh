# Hostile echo traffic from a peer in a test namespace: answers with another
# identifier or sequence, a changed or cut payload, late answers, duplicates, and a
# flood of unrelated ICMP. None of them counts as a reply, nothing crashes, and the
# time-out still holds. Over the raw socket (which sees everything) and the datagram
# socket (where the kernel already filters on the identifier).
source "$(dirname "$0")/lib.sh"
need_namespaces "the hostile echo tests"
copy_for_nobody
make_client_server

for kind in raw datagram; do
  use_socket_kind $kind
  for mode in wrong-id wrong-seq wrong-payload truncated late flood; do
    if [ $mode = late ]; then start_responder --delays 1100; else start_responder --mode $mode; fi
    run_in_client $mode-$kind 198.18.0.2 2 "${AS[@]}"
    stop_responder
    check "$kind, $mode: no answer counts, three time-outs" \
      every_item_is "$LOG" '^Reply from 198\.18\.0\.2:  Error no: 11010$'
    check "$kind, $mode: the entry is whole" all_entries_whole "$LOG"
    # At least three full time-outs; the upper bound only says it did not hang.
    check_that "$kind, $mode: the time-out holds (${ELAPSED_MS} ms for one cycle)" \
      '[ "$ELAPSED_MS" -ge 3300 ] && [ "$ELAPSED_MS" -lt 30000 ]'
  done

  start_responder --mode duplicate
  run_in_client duplicate-$kind 198.18.0.2 2 "${AS[@]}"
  stop_responder
  check "$kind, duplicates: each request counts once" \
    every_item_is "$LOG" '^Reply from 198\.18\.0\.2:  bytes = 32 time = [0-9]+ms TTL = 64$'
  check "$kind, duplicates: three sent, three received" \
    grep -q 'Sent = 3, Received = 3, Lost = 0' "$LOG"
done

finish
