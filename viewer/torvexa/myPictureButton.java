import java.awt.AWTEventMulticaster;
import java.awt.Canvas;
import java.awt.Color;
import java.awt.Dimension;
import java.awt.Graphics;
import java.awt.Graphics2D;
import java.awt.Polygon;
import java.awt.RenderingHints;
import java.awt.event.ActionEvent;
import java.awt.event.ActionListener;
import java.awt.event.MouseEvent;
import java.awt.event.MouseListener;

/**
 * A drawn navigation button: a raised tile carrying the arrow its label names
 * ("|<", "<", ">" or ">|"). A click on an enabled button sends an action event whose
 * command is the label; a disabled button is drawn greyed and sends nothing.
 */
public class myPictureButton extends Canvas implements MouseListener {
  private static final long serialVersionUID = 1L;
  private static final Color FACE = new Color(0xF2, 0xF2, 0xF2);
  private static final Color LIGHT = Color.WHITE;
  private static final Color DARK = new Color(0x70, 0x70, 0x70);
  private static final Color GLYPH = new Color(0x20, 0x20, 0x50);
  private static final Color GLYPH_DISABLED = new Color(0xB0, 0xB0, 0xB0);

  private final String label_;
  private transient ActionListener listeners_;
  private boolean pressed_;

  public myPictureButton(String label) {
    label_ = label;
    addMouseListener(this);
  }

  public String getLabel() { return label_; }

  public void addActionListener(ActionListener listener) {
    listeners_ = AWTEventMulticaster.add(listeners_, listener);
  }

  @Override
  public void setEnabled(boolean enabled) {
    if (enabled == isEnabled()) return;
    super.setEnabled(enabled);
    repaint();
  }

  @Override
  public Dimension getPreferredSize() {
    return new Dimension(40, 32);
  }

  @Override
  public void update(Graphics g) {
    paint(g);
  }

  @Override
  public void paint(Graphics g) {
    Graphics2D g2 = (Graphics2D) g;
    g2.setRenderingHint(RenderingHints.KEY_ANTIALIASING, RenderingHints.VALUE_ANTIALIAS_ON);
    int w = getWidth();
    int h = getHeight();
    g.setColor(FACE);
    g.fillRect(0, 0, w, h);
    g.setColor(pressed_ ? DARK : LIGHT);
    g.drawLine(0, 0, w - 1, 0);
    g.drawLine(0, 0, 0, h - 1);
    g.setColor(pressed_ ? LIGHT : DARK);
    g.drawLine(0, h - 1, w - 1, h - 1);
    g.drawLine(w - 1, 0, w - 1, h - 1);

    g.setColor(isEnabled() ? GLYPH : GLYPH_DISABLED);
    int shift = pressed_ ? 1 : 0;
    int cx = w / 2 + shift;
    int cy = h / 2 + shift;
    int s = Math.max(Math.min(w, h) / 4, 3);
    boolean left = label_.indexOf('<') >= 0;
    boolean bar = label_.indexOf('|') >= 0;
    int tip = left ? cx - s : cx + s;
    int back = left ? cx + s : cx - s;
    if (bar) {
      tip += left ? s / 2 : -s / 2;
      back += left ? s / 2 : -s / 2;
      int barX = left ? tip - s / 2 - 2 : tip + 1;
      g.fillRect(barX, cy - s, 2 + s / 4, 2 * s + 1);
    }
    g.fillPolygon(new Polygon(new int[] {tip, back, back}, new int[] {cy, cy - s, cy + s}, 3));
  }

  @Override
  public void mousePressed(MouseEvent e) {
    if (!isEnabled()) return;
    pressed_ = true;
    repaint();
  }

  @Override
  public void mouseReleased(MouseEvent e) {
    boolean fire = pressed_ && isEnabled() && contains(e.getX(), e.getY());
    pressed_ = false;
    repaint();
    if (fire && listeners_ != null) {
      listeners_.actionPerformed(new ActionEvent(this, ActionEvent.ACTION_PERFORMED, label_));
    }
  }

  @Override
  public void mouseExited(MouseEvent e) {
    if (!pressed_) return;
    pressed_ = false;
    repaint();
  }

  @Override public void mouseClicked(MouseEvent e) {}
  @Override public void mouseEntered(MouseEvent e) {}
}
