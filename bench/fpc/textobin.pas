{ Text-to-binary conversion of a form file with Free Pascal's own
  ObjectTextToBinary, used only as the reference our converter is timed
  against. }
program textobin;

{$mode objfpc}

uses
  Classes;

var
  Input, Output: TFileStream;
begin
  Input := TFileStream.Create(ParamStr(1), fmOpenRead);
  Output := TFileStream.Create(ParamStr(2), fmCreate);
  try
    ObjectTextToBinary(Input, Output);
  finally
    Output.Free;
    Input.Free;
  end;
end.
