// The ends of --help, after the options' own lines: what each command does
// beyond its options, its exit status and examples.
#include "tools/lumora/help_text.h"

namespace lumora::cli {

const char kScanFooter[] = R"(
Each camera is printed once per distinct (MAC, IP) pair, when the scan ends,
so every camera of a conflict carries its warning. With --stream each is
printed as soon as its first reply arrives, with the warnings known at that
moment: the first of two cameras sharing a MAC is printed without it. The
table's last line says how many cameras were found and how many carry
warnings; for json and csv that line goes to stderr. At most 65536 cameras
are kept; replies past that are counted, and stderr says how many.
Warnings: duplicate-mac (one MAC from two IP addresses), duplicate-ip (two
MACs with one IP address), off-subnet (the camera's IP address is outside
the subnet of the interface it answered on).
Exit status: 0 when a camera was found, 1 when none was, 2 on a usage error.

Examples:
  lumora scan
  lumora scan --interface eth1 --format json
  lumora scan --format csv --wait 2 > cameras.csv)";

const char kSetFooter[] = R"(
Scans first (with the scan options), then sends one configuration request,
the one the Lumora Search dialog sends when its panel shows the camera and
the given values are typed in: only out of the interface the camera answered
on, to 255.255.255.255 at the port its reply came from, so a camera outside
the PC's subnet is reached too. Then scans again and checks that the camera
shows the new values (skipped with --no-verify). It is a plan of one row:
the same rules as lumora apply. Values are checked before anything is sent:
addresses are four decimal numbers 0..255 without leading zeros, numbers are
decimal. A camera that already shows every given value is sent nothing. A
camera whose MAC answers from two IP addresses is not changed: the request
would reach both. Nor is a camera moved onto the address of another camera
or of the PC, or onto its subnet's network or broadcast address. A camera
whose reply does not say how it gets its address (no IP-assignment field)
is changed only with --mode, since the request always carries the mode; a
mode alone is not sent to it, since it cannot be compared.
Exit status: 0 done (and verified, or nothing to change), 1 not found, shared
MAC or not verified, 2 on a usage error, an invalid value or a conflict.

Examples:
  lumora set 001A2B3C4D01 --ip 192.168.1.20 --mask 255.255.255.0 --gateway 192.168.1.1
  lumora set 001A2B3C4D01 --mode dhcp
  lumora set 001A2B3C4D01 --name Entrance --http-port 8080 --interface eth1
  lumora set 001A2B3C4D01 --mode pppoe --pppoe-account shop --pppoe-password-stdin < password.txt)";

const char kOpenFooter[] = R"(
Finds the camera by a scan and opens http://IP/index.html (or
http://IP:PORT/index.html when its HTTP port is not 80) in the browser.
Exit status: 0 done, 1 not found or the browser could not be started, 2 on a
usage error.

Examples:
  lumora open 001A2B3C4D01
  lumora open 001A2B3C4D01 --print)";

const char kMainFooter[] = R"(
Run "lumora COMMAND --help" for a command's options and examples.)";

}  // namespace lumora::cli
