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
$1300000"t";101101
