(an earlier program, kept read-only)
M30
