#!/usr/bin/env python3
"""Writes data/config.bin, the settings file delivered beside the executable.

Its flag byte is 0 (never saved by the tool), so the first build of the main page writes the
default captions into str.ini. The record is a sensible factory setting: 1000 Hz, six DPI stages
on from the second level up, standard lighting at full brightness, the default key layout.
Run it again after changing a value here and commit both files.
"""
import pathlib

record = bytearray(219)
record[5] = 1                                  # ReportRateCode: 1000 Hz
levels = [1, 2, 3, 4, 5, 7, 0, 0]              # DpiStageLevel of stages 1..8
enabled = [1, 1, 1, 1, 1, 1, 0, 0]             # DpiStageEnabled: the page shows stages 1..6
colors = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0),
          (255, 0, 255), (0, 255, 255), (255, 255, 255), (255, 128, 0)]
for stage in range(8):
    record[7 + stage] = levels[stage]
    record[15 + stage] = enabled[stage]
    record[23 + 3 * stage:26 + 3 * stage] = bytes(colors[stage])
record[47] = 1     # LightingMode: Standard
record[48] = 9     # LightingBrightness: 100%
record[49] = 2     # LightingSpeed: 6S
record[51] = 1     # StandardEffect: RGB Effect
record[52] = 1     # LightingEffect: RGB Effect
record[56] = 20    # FireMakeTime
record[57] = 20    # FireBreakTime
record[58] = 0x01  # SnipeDpiCode: the first level
default_functions = [0, 1, 2, 5, 5, 3, 4, 12]  # the default key layout, Mode A then Mode B
for config in range(2):
    for button in range(8):
        record[59 + 8 * config + button] = default_functions[button]
    record[203 + 8 * config + 3] = 3  # button 4: DPI +
    record[203 + 8 * config + 4] = 4  # button 5: DPI -

path = pathlib.Path(__file__).with_name("config.bin")
path.write_bytes(bytes([0]) + bytes(record))
print(f"wrote {path} ({path.stat().st_size} bytes)")
