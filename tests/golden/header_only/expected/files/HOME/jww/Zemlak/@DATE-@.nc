%
O1000
(DATE @DATE@)
(FILE C:\jww\Zemlak\@DATE-@.nc)
(SIZE 0 x 0)
G90 G92 X0 Y0
M30
%
