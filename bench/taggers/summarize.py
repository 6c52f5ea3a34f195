"""Turns hyperfine's JSON exports into a table of medians.
Usage: summarize.py SET-FILES.roundN.json ...  (one export per round)
Each tool's median is taken over all its runs in all rounds of a set."""
import json
import re
import statistics
import sys
from collections import defaultdict


def main():
    times = defaultdict(lambda: defaultdict(list))  # set -> tool -> seconds
    order = defaultdict(list)
    for path in sys.argv[1:]:
        label = re.sub(r"\.round\d+\.json$", "", path.rsplit("/", 1)[-1])
        for result in json.load(open(path))["results"]:
            tool = result["command"]
            if tool not in order[label]:
                order[label].append(tool)
            times[label][tool].extend(result["times"])
    print("| set | tool | median ms | µs per file | × floor | runs |")
    print("|---|---|---:|---:|---:|---:|")
    for label in sorted(times, key=lambda l: (l.split("-")[0], int(l.rsplit("-", 1)[1]))):
        files = int(label.rsplit("-", 1)[1])
        floor = statistics.median(times[label]["floor"])
        for tool in order[label]:
            median = statistics.median(times[label][tool])
            print("| %s | %s | %.1f | %.2f | %.2f | %d |" % (
                label, tool, median * 1e3, median * 1e6 / files, median / floor,
                len(times[label][tool])))


main()
