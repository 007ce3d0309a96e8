@frt_origin
%NOld
#LM
#WG
&L1.0
&W1.0
&C1
&P1
$M"%s %f"001002
@_M"aux"
@AS"app"
@BA"head"
@BE"foot"
