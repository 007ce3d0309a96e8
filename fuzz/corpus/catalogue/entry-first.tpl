Type=FRT_TPL
[FileHeader]
