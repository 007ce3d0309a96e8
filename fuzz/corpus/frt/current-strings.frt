@t:FRTX
@i:TS
@v:1
@a:a
@c:c
@d:d
@o:xyz
@l:Kite_Basic
#W G
#LM
#TC
#PB
&W1.0x
&L 2e3
&T-1
&P+0.5
@Dd-9
@Df-9.9
@Ds--
// comment
   
%N name
$1110000"%d %s"208211051011001001;101102103
$1210000"aux q "308001001
$1300000"app";101
$1400000"head"
$1500000"foot"
$2110000"%lf,%s"209211002011001001
$1710005"fallback"
