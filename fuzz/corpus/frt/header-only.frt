@t:FRT
@i:TS-Q6
@v:1.00
@a:Quarvel
@c:Terrapane
@d:2026-12-06
@o:坐标输出：点号、东坐标、北坐标、高程、代码
@l:Kite_Basic
