object Form1: TForm1
  Left = 0
  Caption = 'It'#39's'
  Hint = 
    'aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa' +
    'bb'
  Font.Style = [fsBold, fsItalic]
  X = 1.000000000000000000
  Y = 0.100000001490116100
  Z = (
    1
    'a')
  D = {
    0A0B}
  C = <
    item
      A = 1
    end
    item
    end>
  object P: TP [1]
    V = -100000
  end
end
