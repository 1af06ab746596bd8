%
O1000
(DATE @DATE@)
(FILE Zemlak\part.nc)
(SIZE 0 x 0)
G90 G92 X0 Y0
M30
%
