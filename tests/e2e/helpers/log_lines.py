"""Log lines as the logger writes them, for the tests that make logs of their own."""


def entry(time, items, host="router1", address="192.0.2.1", router="198.51.100.254", ttl=64):
    """One whole line, CR LF included. time: a datetime (the stamp, local wall clock);
    items: three of: a number of ms (a reply from the address), "r" (a router's report
    from `router`, 9 ms), or -N (no reply: error N). A host beginning with a digit is
    numeric: its failures name it, and no address stands in brackets."""
    numeric = host[:1].isdigit()
    target = host if numeric else address
    pieces, times = [], []
    for item in items:
        if item == "r":
            pieces.append(f"Reply from {router}:  bytes = 0 time = 9ms TTL = {ttl}\t")
            times.append(9)
        elif item < 0:
            pieces.append(f"\tReply from {target}:  Error no: {-item}\t")
        else:
            pieces.append(f"Reply from {address}:  bytes = 32 time = {item}ms TTL = {ttl}\t")
            times.append(item)
    received, lost = len(times), 3 - len(times)
    # The logger's figures: every reply in minimum and maximum, the average over the
    # replies of 1 ms or more divided by all replies.
    low, high = (min(times), max(times)) if times else (255, 0)
    average = sum(t for t in times if t > 0) / received if times else 0
    header = host if numeric else f"{host} [{address}]"
    return (f"{time:%d.%m.%Y / %H:%M:%S} -> Pinging {header} with 32 bytes of data:\t"
            + "".join(pieces)
            + f"Ping statistics for {host}:   Packets: Sent = 3, Received = {received}, "
            + f"Lost = {lost} ({round(100 * lost / 3)}% loss)\t"
            + "Approximate round trip times in milli-seconds:\t"
            + f"Minimum = {low}ms,  Maximum = {high},  Average = {average:.2f}ms\r\n")
